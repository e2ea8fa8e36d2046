#include "ui/interface_scale.h"

#include <QApplication>
#include <QFile>
#include <QLayout>
#include <QPalette>
#include <QStyle>
#include <QPointer>
#include <QStyleFactory>

#include "ui/skin_resources.h"
#include "ui/theme.h"

namespace qxr::ui {
namespace {

constexpr const char* kStyleFile = "style.qss";

struct ScaleState {
  int dpi = kDefaultDpi;
  QString style_sheet;
  QList<QPointer<QWidget>> windows;
};

ScaleState& state() {
  static ScaleState s;
  return s;
}

QSize scale_size(QSize s, int dpi) {
  auto one = [dpi](int v) { return v >= QWIDGETSIZE_MAX ? v : scale_px(v, dpi); };
  return {one(s.width()), one(s.height())};
}

QRect scale_rect(QRect r, int dpi) {
  return {scale_px(r.x(), dpi), scale_px(r.y(), dpi), scale_px(r.width(), dpi), scale_px(r.height(), dpi)};
}

QVariant base_of(QObject* o, const char* name, const QVariant& now) {
  QVariant base = o->property(name);
  if (!base.isValid()) {
    o->setProperty(name, now);
    base = now;
  }
  return base;
}

bool managed_by_layout(const QWidget* w) {
  const QWidget* parent = w->parentWidget();
  return parent != nullptr && parent->layout() != nullptr && parent->layout()->indexOf(w) >= 0;
}

void scale_layout(QLayout* layout, int dpi) {
  if (layout == nullptr) return;
  const QMargins m = base_of(layout, "_qxr_base_margins", QVariant::fromValue(layout->contentsMargins())).value<QMargins>();
  layout->setContentsMargins(scale_px(m.left(), dpi), scale_px(m.top(), dpi), scale_px(m.right(), dpi),
                             scale_px(m.bottom(), dpi));
  const int spacing = base_of(layout, "_qxr_base_spacing", layout->spacing()).toInt();
  if (spacing >= 0) layout->setSpacing(scale_px(spacing, dpi));
  for (int i = 0; i < layout->count(); ++i) scale_layout(layout->itemAt(i)->layout(), dpi);
}

void scale_widget(QWidget* w, int dpi) {
  const QSize min = base_of(w, "_qxr_base_min", w->minimumSize()).toSize();
  const QSize max = base_of(w, "_qxr_base_max", w->maximumSize()).toSize();
  w->setMinimumSize(scale_size(min, dpi));
  w->setMaximumSize(scale_size(max, dpi));
  if (w->testAttribute(Qt::WA_SetFont)) {
    const QFont base = base_of(w, "_qxr_base_font", w->font()).value<QFont>();
    QFont f = base;
    if (base.pixelSize() > 0) {
      f.setPixelSize(scale_px(base.pixelSize(), dpi));
    } else if (base.pointSizeF() > 0) {
      f.setPointSizeF(base.pointSizeF() * dpi / kDefaultDpi);
    }
    w->setFont(f);
  }
  if (w->isWindow()) {
    w->resize(scale_size(base_of(w, "_qxr_base_size", w->size()).toSize(), dpi));
  } else if (!managed_by_layout(w)) {
    w->setGeometry(scale_rect(base_of(w, "_qxr_base_geometry", w->geometry()).toRect(), dpi));
  }
  scale_layout(w->layout(), dpi);
}

}  // namespace

int interface_dpi() { return state().dpi; }

void apply_scale(QWidget* root, int dpi) {
  if (root == nullptr) return;
  scale_widget(root, dpi);
  const QList<QWidget*> all = root->findChildren<QWidget*>();
  for (QWidget* w : all) scale_widget(w, dpi);
}

int set_interface_dpi(int dpi, DpiWindow window) {
  ScaleState& s = state();
  s.dpi = accept_dpi(dpi, window);
  if (!s.style_sheet.isEmpty() && qApp != nullptr) qApp->setStyleSheet(scale_style_sheet(s.style_sheet, s.dpi));
  s.windows.removeAll(QPointer<QWidget>());
  for (const QPointer<QWidget>& w : s.windows) apply_scale(w, s.dpi);
  return s.dpi;
}

void register_scaled_window(QWidget* window) {
  if (window == nullptr) return;
  ScaleState& s = state();
  if (!s.windows.contains(window)) s.windows.push_back(window);
  apply_scale(window, s.dpi);
}

// The palette behind the style sheet, for what the sheet does not reach (native dialogs,
// popups before they are polished).
static QPalette dark_palette() {
  QPalette p;
  p.setColor(QPalette::Window, QColor(0x14, 0x15, 0x19));
  p.setColor(QPalette::WindowText, theme::text());
  p.setColor(QPalette::Base, theme::surface());
  p.setColor(QPalette::AlternateBase, QColor(0x20, 0x21, 0x27));
  p.setColor(QPalette::Text, theme::text());
  p.setColor(QPalette::Button, QColor(0x26, 0x27, 0x2E));
  p.setColor(QPalette::ButtonText, theme::text());
  p.setColor(QPalette::Highlight, theme::accent());
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, QColor(0x26, 0x27, 0x2E));
  p.setColor(QPalette::ToolTipText, theme::text());
  p.setColor(QPalette::PlaceholderText, QColor(0x9B, 0x9D, 0xA8));
  p.setColor(QPalette::Link, theme::accent());
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, QColor(0x5C, 0x5E, 0x68));
  }
  return p;
}

bool apply_style() {
  QFile file(SkinResources::global().file_path(QString::fromLatin1(kStyleFile)));
  if (!file.open(QIODevice::ReadOnly)) return false;
  ScaleState& s = state();
  s.style_sheet = QString::fromUtf8(file.readAll());
  if (qApp != nullptr) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    QApplication::setPalette(dark_palette());
    qApp->setStyleSheet(scale_style_sheet(s.style_sheet, s.dpi));
  }
  return true;
}

QString base_style_sheet() { return state().style_sheet; }

}  // namespace qxr::ui
