#include "app/window/tray_icon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

#include "app/startup/app_identity.h"
#include "app/window/skin_pictures.h"
#include "ui/language.h"

namespace qxr::app {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
  menu_ = new QMenu();
  show_ = menu_->addAction(QString());
  menu_->addSeparator();
  exit_ = menu_->addAction(QString());
  // The menu's commands, as the skin's menu names them.
  show_->setObjectName(QStringLiteral("show"));
  exit_->setObjectName(QStringLiteral("exit"));
  connect(show_, &QAction::triggered, this, &TrayIcon::show_requested);
  connect(exit_, &QAction::triggered, this, &TrayIcon::exit_requested);
  translate();
  connect(&ui::Language::instance(), &ui::Language::changed, this, &TrayIcon::translate);

  icon_ = new QSystemTrayIcon(QIcon(skin_image_path(QString::fromLatin1(kLogoImage))), this);
  icon_->setToolTip(QString::fromLatin1(kAppIdentity));
  icon_->setContextMenu(menu_);
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) emit show_requested();
  });
  if (QSystemTrayIcon::isSystemTrayAvailable()) icon_->show();
}

TrayIcon::~TrayIcon() { delete menu_; }

bool TrayIcon::available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::translate() {
  ui::Language& language = ui::Language::instance();
  show_->setText(language.text(QStringLiteral("tray_show_text")));
  exit_->setText(language.text(QStringLiteral("tray_exit_text")));
}

}  // namespace qxr::app
