#pragma once
// The program's message box: a title, a text and one or two buttons.
#include "ui/skin_window.h"

class CMsgWnd : public qxr::ui::SkinWindow {
  Q_OBJECT
 public:
  static constexpr int kResultConfirm = 1;
  static constexpr int kResultCancel = 0;
  static constexpr int kButtonsConfirm = 0;
  static constexpr int kButtonsConfirmCancel = 1;

  explicit CMsgWnd(QWidget* parent = nullptr);

  // Texts may be language keys. An empty text leaves the previous one.
  void SetTitle(const QString& title);
  void SetText(const QString& text, bool multiline = true);
  // kButtonsConfirm shows only "confirm_btn"; any other mode shows both buttons.
  void SetButtonMode(int mode);
  // 1 when "confirm_btn" closed the box, 0 for "cancel_btn", "closebtn" or any other close.
  int ShowModal() { return SkinWindow::ShowModal(); }

  int SetDPI(int dpi) { return set_dpi(dpi); }

 protected:
  void showEvent(QShowEvent* event) override;
  void on_notify(const qxr::ui::Notification& notification) override;
};

// Asks with a message box over parent; true when confirmed.
bool ask(QWidget* parent, const QString& title, const QString& text, int button_mode = CMsgWnd::kButtonsConfirmCancel);
