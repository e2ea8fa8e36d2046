#include "ui/about_wnd.h"

#include "ui/language.h"

using namespace qxr::ui;

namespace {
const QString kVersionLabel = QStringLiteral("software_ver_label");
const QString kVersionKey = QStringLiteral("software_rev_text");
}  // namespace

CAboutWnd::CAboutWnd(QWidget* parent)
    : SkinWindow(QStringLiteral("AboutWnd.xml"), QStringLiteral("AboutWnd"), DpiWindow::Main, parent) {
  connect(&Language::instance(), &Language::changed, this, &CAboutWnd::show_version);
}

void CAboutWnd::SetVersion(const QString& version) {
  version_ = version;
  show_version();
}

void CAboutWnd::show_version() {
  if (version_.isEmpty()) return;
  QWidget* label = find_control(kVersionLabel);
  if (label == nullptr) return;
  Language::instance().set_text(label, localized_text(root(), kVersionKey) + version_);
}
