#include "ui/dpi.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

#include "core/debug_line.h"

namespace qxr::ui {
namespace {

struct DpiLine {
  DpiWindow window;
  const char* line;
};
constexpr std::array<DpiLine, 4> kDpiLines{{
    {DpiWindow::Msg, "MSG_WND DPI SET ERROR"},
    {DpiWindow::Main, "MAIN_WND DPI SET ERROR"},
    {DpiWindow::Set, "SET_WND DPI SET ERROR"},
    {DpiWindow::Llet, "LLET_WND DPI SET ERROR"},
}};

}  // namespace

bool dpi_accepted(int dpi) { return std::find(kAcceptedDpis.begin(), kAcceptedDpis.end(), dpi) != kAcceptedDpis.end(); }

const char* dpi_error_line(DpiWindow window) {
  for (const DpiLine& l : kDpiLines) {
    if (l.window == window) return l.line;
  }
  return kDpiLines[0].line;
}

int accept_dpi(int dpi, DpiWindow window) {
  if (dpi_accepted(dpi)) return dpi;
  debug_line(dpi_error_line(window));
  return kDefaultDpi;
}

int scale_px(int px, int dpi) {
  if (px == 0) return 0;
  const long scaled = std::lround(static_cast<double>(px) * dpi / kDefaultDpi);
  if (scaled == 0) return px > 0 ? 1 : -1;
  return static_cast<int>(scaled);
}

QString scale_style_sheet(const QString& style_sheet, int dpi) {
  if (dpi == kDefaultDpi) return style_sheet;
  static const QRegularExpression px(QStringLiteral("(?<![\\w.])(-?\\d+)px(?![\\w.])"));
  QString result;
  result.reserve(style_sheet.size());
  qsizetype last = 0;
  for (auto it = px.globalMatch(style_sheet); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    result += QStringView(style_sheet).mid(last, m.capturedStart() - last);
    result += QString::number(scale_px(m.captured(1).toInt(), dpi)) + QLatin1String("px");
    last = m.capturedEnd();
  }
  result += QStringView(style_sheet).mid(last);
  return result;
}

}  // namespace qxr::ui
