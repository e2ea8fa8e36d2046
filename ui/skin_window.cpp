#include "ui/skin_window.h"

#include <QEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWindow>

#include "ui/interface_scale.h"
#include "ui/skin_loader.h"

namespace qxr::ui {
namespace {
const QString kCloseButton = QStringLiteral("closebtn");
const QString kMinButton = QStringLiteral("minbtn");
const QString kMaxButton = QStringLiteral("maxbtn");
const QString kRestoreButton = QStringLiteral("restorebtn");
// Room for the window's outline (style.qss draws it on the window, around the skin).
constexpr int kOutlinePx = 1;
}  // namespace

SkinWindow::SkinWindow(const QString& skin_name, const QString& window_class, DpiWindow dpi_window, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), window_class_(window_class), dpi_window_(dpi_window) {
  setObjectName(window_class);
  // Closing a small window never ends the program, even with the main window in the tray.
  setAttribute(Qt::WA_QuitOnClose, false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kOutlinePx, kOutlinePx, kOutlinePx, kOutlinePx);
  layout->setSpacing(0);
  SkinLoader loader;
  root_ = loader.load_skin(skin_name, this);
  if (root_ != nullptr) {
    layout->addWidget(root_);
    controls_.set_root(root_);
    resize(root_->size() + QSize(2 * kOutlinePx, 2 * kOutlinePx));
    set_notify_handler(this, this);
  }
  register_scaled_window(this);
  update_zoom_buttons();
}

SkinWindow::~SkinWindow() { set_notify_handler(this, nullptr); }

int SkinWindow::set_dpi(int dpi) { return set_interface_dpi(dpi, dpi_window_); }

int SkinWindow::dpi() const { return interface_dpi(); }

void SkinWindow::Notify(const Notification& n) {
  if (n.type == notify_type::kClick) {
    if (n.sender_name == kCloseButton) {
      done(0);
      return;
    }
    if (n.sender_name == kMinButton) {
      showMinimized();
      return;
    }
    if (n.sender_name == kMaxButton) {
      showMaximized();
      return;
    }
    if (n.sender_name == kRestoreButton) {
      showNormal();
      return;
    }
  }
  on_notify(n);
}

void SkinWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) update_zoom_buttons();
}

void SkinWindow::update_zoom_buttons() {
  const bool zoomed = isMaximized();
  if (QWidget* max = find_control(kMaxButton)) max->setVisible(!zoomed);
  if (QWidget* restore = find_control(kRestoreButton)) restore->setVisible(zoomed);
}

bool SkinWindow::in_caption(const QPoint& pos) const {
  if (root_ == nullptr) return false;
  const int caption = root_->property("caption").toInt();
  return caption > 0 && pos.y() < scale_px(caption, interface_dpi());
}

void SkinWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && in_caption(event->position().toPoint()) && windowHandle() != nullptr) {
    windowHandle()->startSystemMove();
    event->accept();
    return;
  }
  QDialog::mousePressEvent(event);
}

void SkinWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // Only windows that offer maximising toggle it from the caption.
  if (in_caption(event->position().toPoint()) && find_control(kMaxButton) != nullptr) {
    if (isMaximized()) {
      showNormal();
    } else {
      showMaximized();
    }
    event->accept();
    return;
  }
  QDialog::mouseDoubleClickEvent(event);
}

}  // namespace qxr::ui
