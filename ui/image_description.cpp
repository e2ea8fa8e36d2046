#include "ui/image_description.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

#include <algorithm>

#include "ui/skin_control.h"
#include "ui/skin_resources.h"

namespace qxr::ui {
namespace {

std::optional<QRect> parse_ltrb(const QString& v) {
  const QStringList parts = v.split(QLatin1Char(','));
  if (parts.size() != 4) return std::nullopt;
  int n[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    n[i] = parts[i].trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
  }
  return QRect(QPoint(n[0], n[1]), QPoint(n[2] - 1, n[3] - 1));
}

bool parse_bool(const QString& v) { return v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0; }

QString image_path(const QString& file) {
  if (QFileInfo(file).isAbsolute()) return file;
  return SkinResources::global().file_path(file);
}

QPixmap load_pixmap(const ImageDescription& image) {
  const QString path = image_path(image.file);
  const QString key = path + (image.mask ? QLatin1Char('#') + image.mask->name(QColor::HexArgb) : QString());
  QPixmap pixmap;
  if (QPixmapCache::find(key, &pixmap)) return pixmap;
  QImage loaded(path);
  if (loaded.isNull()) return {};
  if (image.mask) {
    loaded = loaded.convertToFormat(QImage::Format_ARGB32);
    const QRgb masked = image.mask->rgb() & 0xFFFFFF;
    for (int y = 0; y < loaded.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(loaded.scanLine(y));
      for (int x = 0; x < loaded.width(); ++x) {
        if ((line[x] & 0xFFFFFF) == masked) line[x] = 0;
      }
    }
  }
  pixmap = QPixmap::fromImage(loaded);
  QPixmapCache::insert(key, pixmap);
  return pixmap;
}

void draw_part(QPainter& p, const QRect& to, const QPixmap& pm, const QRect& from, bool xtiled, bool ytiled) {
  if (to.isEmpty() || from.isEmpty()) return;
  if (!xtiled && !ytiled) {
    p.drawPixmap(to, pm, from);
    return;
  }
  const int step_x = xtiled ? from.width() : to.width();
  const int step_y = ytiled ? from.height() : to.height();
  p.save();
  p.setClipRect(to, Qt::IntersectClip);
  for (int y = to.top(); y <= to.bottom(); y += step_y) {
    for (int x = to.left(); x <= to.right(); x += step_x) {
      p.drawPixmap(QRect(x, y, step_x, step_y), pm, from);
    }
  }
  p.restore();
}

}  // namespace

std::optional<ImageDescription> parse_image_description(const QString& text) {
  ImageDescription d;
  const QString t = text.trimmed();
  if (t.isEmpty()) return d;
  if (!t.contains(QLatin1Char('='))) {
    d.file = t;
    return d;
  }
  qsizetype i = 0;
  while (i < t.size()) {
    while (i < t.size() && t.at(i).isSpace()) ++i;
    if (i >= t.size()) break;
    const qsizetype eq = t.indexOf(QLatin1Char('='), i);
    if (eq < 0 || eq + 1 >= t.size() || t.at(eq + 1) != QLatin1Char('\'')) return std::nullopt;
    const QString key = t.mid(i, eq - i).trimmed().toLower();
    const qsizetype close = t.indexOf(QLatin1Char('\''), eq + 2);
    if (close < 0) return std::nullopt;
    const QString value = t.mid(eq + 2, close - eq - 2);
    i = close + 1;
    if (key == QLatin1String("file") || key == QLatin1String("res")) {
      d.file = value;
    } else if (key == QLatin1String("restype")) {
      d.restype = value;
    } else if (key == QLatin1String("dest") || key == QLatin1String("source")) {
      auto r = parse_ltrb(value);
      if (!r) return std::nullopt;
      (key == QLatin1String("dest") ? d.dest : d.source) = r;
    } else if (key == QLatin1String("corner")) {
      auto r = parse_ltrb(value);
      if (!r) return std::nullopt;
      d.corner = QMargins(r->left(), r->top(), r->right() + 1, r->bottom() + 1);
    } else if (key == QLatin1String("mask")) {
      const QColor c = parse_skin_colour(value);
      if (!c.isValid()) return std::nullopt;
      d.mask = c;
    } else if (key == QLatin1String("fade")) {
      bool ok = false;
      const int fade = value.toInt(&ok);
      if (!ok) return std::nullopt;
      d.fade = std::clamp(fade, 0, kOpaqueFade);
    } else if (key == QLatin1String("hole")) {
      d.hole = parse_bool(value);
    } else if (key == QLatin1String("xtiled")) {
      d.xtiled = parse_bool(value);
    } else if (key == QLatin1String("ytiled")) {
      d.ytiled = parse_bool(value);
    } else if (key == QLatin1String("hsl")) {
      d.hsl = value;
    }
  }
  return d;
}

QString source_description(const QString& file, QRect source) {
  return QStringLiteral("file='%1' source='%2,%3,%4,%5'")
      .arg(file)
      .arg(source.left())
      .arg(source.top())
      .arg(source.left() + source.width())
      .arg(source.top() + source.height());
}

void draw_image(QPainter& painter, const QRect& rect, const ImageDescription& image) {
  if (image.empty() || image.fade <= 0) return;
  const QPixmap pm = load_pixmap(image);
  if (pm.isNull()) return;
  QRect to = rect;
  if (image.dest) to = image.dest->translated(rect.topLeft());
  QRect from = image.source ? image.source->intersected(pm.rect()) : pm.rect();
  if (from.isEmpty()) return;
  painter.save();
  painter.setOpacity(painter.opacity() * image.fade / kOpaqueFade);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QMargins c = image.corner;
  if (c.isNull()) {
    draw_part(painter, to, pm, from, image.xtiled, image.ytiled);
  } else {
    // Nine patches: corners unscaled, edges stretched (or tiled) along one axis.
    const int xs[4] = {from.left(), from.left() + c.left(), from.right() + 1 - c.right(), from.right() + 1};
    const int ys[4] = {from.top(), from.top() + c.top(), from.bottom() + 1 - c.bottom(), from.bottom() + 1};
    const int xd[4] = {to.left(), to.left() + c.left(), to.right() + 1 - c.right(), to.right() + 1};
    const int yd[4] = {to.top(), to.top() + c.top(), to.bottom() + 1 - c.bottom(), to.bottom() + 1};
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        if (image.hole && row == 1 && col == 1) continue;
        const QRect src(QPoint(xs[col], ys[row]), QPoint(xs[col + 1] - 1, ys[row + 1] - 1));
        const QRect dst(QPoint(xd[col], yd[row]), QPoint(xd[col + 1] - 1, yd[row + 1] - 1));
        draw_part(painter, dst, pm, src, image.xtiled && col == 1, image.ytiled && row == 1);
      }
    }
  }
  painter.restore();
}

}  // namespace qxr::ui
