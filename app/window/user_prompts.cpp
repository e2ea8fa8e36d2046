#include "app/window/user_prompts.h"

#include <QFileDialog>

#include "ui/language.h"
#include "ui/msg_wnd.h"

namespace qxr::app {
namespace {

class DefaultPrompts : public UserPrompts {
 public:
  void inform(QWidget* parent, const QString& text) override {
    ask(parent, QString(), ui::Language::instance().text(text), CMsgWnd::kButtonsConfirm);
  }
  bool confirm(QWidget* parent, const QString& text) override {
    return ask(parent, QString(), ui::Language::instance().text(text), CMsgWnd::kButtonsConfirmCancel);
  }
  QString choose_open_file(QWidget* parent, const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
  }
  QString choose_save_file(QWidget* parent, const QString& filter) override {
    // The name is taken as typed: no extension is added.
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
  }
};

UserPrompts* g_replacement = nullptr;

}  // namespace

void UserPrompts::notify(QWidget* parent, const QString& text) {
  auto* box = new CMsgWnd(parent);
  box->SetText(ui::Language::instance().text(text));
  box->SetButtonMode(CMsgWnd::kButtonsConfirm);
  QObject::connect(box, &QDialog::finished, box, &QObject::deleteLater);
  box->setModal(false);
  box->show();
}

UserPrompts& prompts() {
  static DefaultPrompts standard;
  return g_replacement != nullptr ? *g_replacement : standard;
}

void set_prompts(UserPrompts* replacement) { g_replacement = replacement; }

}  // namespace qxr::app
