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
  void notify(QWidget* parent, const QString& text) override {
    auto* box = new CMsgWnd(parent);
    box->setModal(false);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->SetText(ui::Language::instance().text(text));
    box->SetButtonMode(CMsgWnd::kButtonsConfirm);
    box->show();
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

UserPrompts& prompts() {
  static DefaultPrompts standard;
  return g_replacement != nullptr ? *g_replacement : standard;
}

void set_prompts(UserPrompts* replacement) { g_replacement = replacement; }

}  // namespace qxr::app
