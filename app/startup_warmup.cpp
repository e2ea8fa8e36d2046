#include "app/startup_warmup.h"

#include <fontconfig/fontconfig.h>

#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QImageReader>

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

void StartupWarmup::application_ready(const QStringList& families, int pixel_size, const QString& icon_file) {
  families_ = families;
  pixel_size_ = pixel_size;
  icon_file_ = icon_file;
  release_once(false);
}

void StartupWarmup::finish() {
  // Without an application object the helper must not touch Qt.
  release_once(true);
  if (thread_.joinable()) thread_.join();
}

void StartupWarmup::run() {
  FcInit();
  ready_.acquire();
  if (cancelled_) return;
  QFont font;
  font.setFamilies(families_);
  font.setPixelSize(pixel_size_);
  QFontMetrics(font).horizontalAdvance(QString::fromUtf16(kSampleText));
  QImageReader::supportedImageFormats();
  // An SVG icon keeps its file without drawing, so no pixmap is made off the main thread.
  QIcon icon(icon_file_);
}

}  // namespace qxr::app
