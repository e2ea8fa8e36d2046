#include "ui/msg_wnd.h"

#include <QLabel>

#include "ui/language.h"

using namespace qxr::ui;

namespace {
const QString kTitle = QStringLiteral("MessageTitle");
const QString kText = QStringLiteral("MessageText");
const QString kConfirm = QStringLiteral("confirm_btn");
const QString kCancel = QStringLiteral("cancel_btn");
}  // namespace

CMsgWnd::CMsgWnd(QWidget* parent) : SkinWindow(QStringLiteral("XML_MSG"), QStringLiteral("MsgWnd"), DpiWindow::Msg, parent) {
  setModal(true);
}

void CMsgWnd::SetTitle(const QString& title) {
  if (title.isEmpty()) return;
  if (QWidget* label = find_control(kTitle)) Language::instance().set_text(label, title);
  setWindowTitle(Language::instance().text(title));
}

void CMsgWnd::SetText(const QString& text, bool multiline) {
  if (text.isEmpty()) return;
  if (auto* label = find<QLabel>(kText)) {
    label->setWordWrap(multiline);
    Language::instance().set_text(label, text);
  }
}

void CMsgWnd::SetButtonMode(int mode) {
  if (QWidget* confirm = find_control(kConfirm)) confirm->show();
  if (QWidget* cancel = find_control(kCancel)) cancel->setVisible(mode != kButtonsConfirm);
}

void CMsgWnd::showEvent(QShowEvent* event) {
  SkinWindow::showEvent(event);
  // Enter confirms, as the highlighted button promises.
  if (QWidget* confirm = find_control(kConfirm)) confirm->setFocus();
}

void CMsgWnd::on_notify(const Notification& n) {
  if (n.type != notify_type::kClick) return;
  if (n.sender_name == kConfirm) {
    done(kResultConfirm);
  } else if (n.sender_name == kCancel) {
    done(kResultCancel);
  }
}

bool ask(QWidget* parent, const QString& title, const QString& text, int button_mode) {
  CMsgWnd box(parent);
  box.SetTitle(title);
  box.SetText(text);
  box.SetButtonMode(button_mode);
  return box.ShowModal() == CMsgWnd::kResultConfirm;
}
