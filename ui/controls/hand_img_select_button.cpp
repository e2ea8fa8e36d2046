#include "ui/controls/hand_img_select_button.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>
#include <array>

#include "ui/image_description.h"
#include "ui/skin_resources.h"

using namespace qxr::ui;

namespace {

struct CursorName {
  const char* name;
  Qt::CursorShape shape;
};
constexpr std::array<CursorName, 14> kCursors{{
    {"arrow", Qt::ArrowCursor},
    {"ibeam", Qt::IBeamCursor},
    {"wait", Qt::WaitCursor},
    {"cross", Qt::CrossCursor},
    {"uparrow", Qt::UpArrowCursor},
    {"size", Qt::SizeAllCursor},
    {"icon", Qt::ArrowCursor},
    {"sizenwse", Qt::SizeFDiagCursor},
    {"sizenesw", Qt::SizeBDiagCursor},
    {"sizewe", Qt::SizeHorCursor},
    {"sizens", Qt::SizeVerCursor},
    {"sizeall", Qt::SizeAllCursor},
    {"no", Qt::ForbiddenCursor},
    {"hand", Qt::PointingHandCursor},
}};

QString absolute_image(const QString& path) {
  return QFileInfo(path).isAbsolute() ? path : SkinResources::global().file_path(path);
}

}  // namespace

CHandImgSelectButtonUI::CHandImgSelectButtonUI(QWidget* parent) : QPushButton(parent) {}

std::optional<Qt::CursorShape> CHandImgSelectButtonUI::cursor_for(const QString& name) {
  for (const CursorName& c : kCursors) {
    if (name.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) return c.shape;
  }
  return std::nullopt;
}

int CHandImgSelectButtonUI::pan(int offset, int delta, int view, int image) {
  const int furthest = std::max(0, image - view);
  return std::clamp(offset - delta, 0, furthest);
}

bool CHandImgSelectButtonUI::set_attribute(const QString& name, const QVariant& value) {
  if (name == QLatin1String("handimage")) {
    set_hand_image(value.toString());
  } else if (name == QLatin1String("cursor")) {
    if (auto shape = cursor_for(value.toString())) setCursor(*shape);
  } else {
    return false;
  }
  return true;
}

void CHandImgSelectButtonUI::set_hand_image(const QString& path) {
  image_path_ = path;
  image_size_ = path.isEmpty() ? QSize() : QImageReader(absolute_image(path)).size();
  offset_ = QPoint();
  rebuild();
}

void CHandImgSelectButtonUI::rebuild() {
  if (image_path_.isEmpty()) {
    current_.clear();
  } else if (width() < image_size_.width() || height() < image_size_.height()) {
    offset_.setX(pan(offset_.x(), 0, width(), image_size_.width()));
    offset_.setY(pan(offset_.y(), 0, height(), image_size_.height()));
    current_ = source_description(image_path_, QRect(offset_, size()));
  } else {
    current_ = QStringLiteral("file='%1'").arg(image_path_);
  }
  update();
}

bool CHandImgSelectButtonUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QPushButton::event(event);
}

void CHandImgSelectButtonUI::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
  if (auto image = parse_image_description(current_)) draw_image(p, rect(), *image);
  style()->drawControl(QStyle::CE_PushButtonLabel, &option, &p, this);
}

void CHandImgSelectButtonUI::resizeEvent(QResizeEvent* event) {
  QPushButton::resizeEvent(event);
  rebuild();
}

void CHandImgSelectButtonUI::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    dragging_ = true;
    last_mouse_ = event->position().toPoint();
  }
  QPushButton::mousePressEvent(event);
}

void CHandImgSelectButtonUI::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (width() < image_size_.width() || height() < image_size_.height())) {
    const QPoint now = event->position().toPoint();
    const QPoint delta = now - last_mouse_;
    last_mouse_ = now;
    offset_ = QPoint(pan(offset_.x(), delta.x(), width(), image_size_.width()),
                     pan(offset_.y(), delta.y(), height(), image_size_.height()));
    rebuild();
  }
  QPushButton::mouseMoveEvent(event);
}

void CHandImgSelectButtonUI::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
  QPushButton::mouseReleaseEvent(event);
}
