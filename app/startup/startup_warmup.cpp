#include "app/startup/startup_warmup.h"

#include <fontconfig/fontconfig.h>

#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QImageReader>

#include "core/thread_name.h"

namespace qxr::app {
namespace {

// Latin and CJK, so both the interface face and its fallback are looked up.
constexpr char16_t kSampleText[] = u"Keyboard 键盘";

}  // namespace

StartupWarmup::StartupWarmup() : thread_([this] { run(); }) {}

StartupWarmup::~StartupWarmup() { finish(); }

void StartupWarmup::release_once(bool cancel) {
  if (released_) return;
  released_ = true;
  cancelled_ = cancel;
  ready_.release();
}

void StartupWarmup::application_ready(const QStringList& families, int pixel_size, const QStringList& pictures) {
  families_ = families;
  pixel_size_ = pixel_size;
  pictures_ = pictures;
  release_once(false);
}

void StartupWarmup::finish() {
  // Without an application object the helper must not touch Qt.
  release_once(true);
  if (thread_.joinable()) thread_.join();
}

void StartupWarmup::run() {
  name_this_thread("warmup");
  FcInit();
  ready_.acquire();
  if (cancelled_) return;
  QFont font;
  font.setFamilies(families_);
  font.setPixelSize(pixel_size_);
  QFontMetrics(font).horizontalAdvance(QString::fromUtf16(kSampleText));
  for (const QString& picture : pictures_) {
    if (picture.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
      // An SVG icon keeps its file without drawing, so no pixmap is made off the main thread.
      QIcon icon(picture);
    } else {
      // Reading an image loads every image plugin, to ask each whether it knows the file.
      QImageReader(picture).read();
    }
  }
}

}  // namespace qxr::app
