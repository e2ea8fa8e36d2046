#pragma once
// Image descriptions as the skins write them: either a bare file name, or key='value' pairs:
//   file='keys/key_a.png' source='0,0,40,40' dest='2,2,38,38' corner='4,4,4,4' fade='200'
// Keys: file, res (both name a file below the skin folder; restype is accepted and ignored),
// dest, source, corner, mask, fade, hole, xtiled, ytiled, hsl (accepted, not applied).
#include <QColor>
#include <QMargins>
#include <QRect>
#include <QString>

#include <optional>

class QPainter;

namespace qxr::ui {

inline constexpr int kOpaqueFade = 255;

struct ImageDescription {
  QString file;
  std::optional<QRect> dest;    // relative to the control, left,top,right,bottom
  std::optional<QRect> source;  // part of the image, left,top,right,bottom
  QMargins corner;              // nine-patch borders
  std::optional<QColor> mask;   // colour drawn transparent
  int fade = kOpaqueFade;       // 0..255
  bool hole = false;            // with corners: leave the middle out
  bool xtiled = false;
  bool ytiled = false;
  QString restype;
  QString hsl;

  bool empty() const { return file.isEmpty(); }
  bool operator==(const ImageDescription&) const = default;
};

// Nothing for text that cannot be read (an unterminated quote, a bad rectangle).
std::optional<ImageDescription> parse_image_description(const QString& text);

// The "file='%s' source='%d,%d,%d,%d'" text a panning image shows.
QString source_description(const QString& file, QRect source);

// Draws the description into rect (the control's rectangle). Files are looked up below the skin
// folder unless absolute. Does nothing for an empty or unreadable image.
void draw_image(QPainter& painter, const QRect& rect, const ImageDescription& image);

}  // namespace qxr::ui
