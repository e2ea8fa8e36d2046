// Pure helpers: indexed names, DPI, image descriptions, language config, fonts.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <set>

#include "core/debug_line.h"
#include "ui/controls/circle_progress.h"
#include "ui/controls/hand_img_button.h"
#include "ui/controls/hand_img_select_button.h"
#include "ui/controls/redio_macro_button.h"
#include "ui/dpi.h"
#include "ui/image_description.h"
#include "ui/indexed_name.h"
#include "ui/language_config.h"
#include "ui/skin_control.h"

using namespace qxr::ui;

TEST(IndexedName, SplitsTrailingDigits) {
  EXPECT_EQ(split_indexed_name(QStringLiteral("key_12")), (IndexedName{QStringLiteral("key_"), 12}));
  EXPECT_EQ(split_indexed_name(QStringLiteral("DPI_slider_3")), (IndexedName{QStringLiteral("DPI_slider_"), 3}));
  EXPECT_EQ(split_indexed_name(QStringLiteral("light_0_5")), (IndexedName{QStringLiteral("light_0_"), 5}));
  EXPECT_EQ(split_indexed_name(QStringLiteral("key_007")), (IndexedName{QStringLiteral("key_"), 7}));
  EXPECT_EQ(split_indexed_name(QStringLiteral("windowdeviceset_1")), (IndexedName{QStringLiteral("windowdeviceset_"), 1}));
}

TEST(IndexedName, RefusesNamesWithoutAnIndex) {
  EXPECT_FALSE(split_indexed_name(QStringLiteral("closebtn")));
  EXPECT_FALSE(split_indexed_name(QStringLiteral("key_")));
  EXPECT_FALSE(split_indexed_name(QStringLiteral("123")));  // no prefix
  EXPECT_FALSE(split_indexed_name(QString()));
  // An index that would overflow is not silently wrapped into a valid key number.
  EXPECT_FALSE(split_indexed_name(QStringLiteral("key_99999999999")));
  EXPECT_FALSE(split_indexed_name(QStringLiteral("key_2147483648")));
  EXPECT_EQ(split_indexed_name(QStringLiteral("key_2147483647"))->index, 2147483647);
}

TEST(IndexedName, BuildsAndMatchesPrefixes) {
  EXPECT_EQ(indexed_name(QStringLiteral("DPI_edit_"), 4), QStringLiteral("DPI_edit_4"));
  const QString round = indexed_name(QStringLiteral("color_option_"), 17);
  EXPECT_EQ(index_after_prefix(round, QStringLiteral("color_option_")), 17);
  EXPECT_FALSE(index_after_prefix(round, QStringLiteral("audiocolor_option_")));
  EXPECT_EQ(index_after_prefix(QStringLiteral("KEY_5"), QStringLiteral("key_"), Qt::CaseInsensitive), 5);
  EXPECT_FALSE(index_after_prefix(QStringLiteral("KEY_5"), QStringLiteral("key_")));
  // "key_" must not claim "monkey_3".
  EXPECT_FALSE(index_after_prefix(QStringLiteral("monkey_3"), QStringLiteral("key_")));
}

TEST(Dpi, AcceptsOnlyTheListedValues) {
  qxr::DebugCapture capture;
  for (int dpi : kAcceptedDpis) EXPECT_EQ(accept_dpi(dpi, DpiWindow::Msg), dpi);
  EXPECT_TRUE(capture.lines().empty());
  for (int dpi : {100, 0, -96, 95, 97, 240, 1000}) EXPECT_EQ(accept_dpi(dpi, DpiWindow::Msg), kDefaultDpi) << dpi;
  EXPECT_EQ(capture.count("MSG_WND DPI SET ERROR"), 7);
}

TEST(Dpi, EachWindowWritesItsOwnLine) {
  const std::pair<DpiWindow, const char*> cases[] = {{DpiWindow::Msg, "MSG_WND DPI SET ERROR"},
                                                     {DpiWindow::Main, "MAIN_WND DPI SET ERROR"},
                                                     {DpiWindow::Set, "SET_WND DPI SET ERROR"},
                                                     {DpiWindow::Llet, "LLET_WND DPI SET ERROR"}};
  for (const auto& [window, line] : cases) {
    qxr::DebugCapture capture;
    EXPECT_EQ(accept_dpi(100, window), 96);
    EXPECT_EQ(capture.lines(), std::vector<std::string>{line});
  }
}

TEST(Dpi, ScalesLengthsAndStyleSheets) {
  EXPECT_EQ(scale_px(10, 144), 15);
  EXPECT_EQ(scale_px(1, 144), 2);  // 1.5 rounds up
  EXPECT_EQ(scale_px(1, 48), 1);   // a hairline never vanishes
  EXPECT_EQ(scale_px(0, 192), 0);
  EXPECT_EQ(scale_px(-5, 192), -10);
  EXPECT_EQ(scale_px(1000, 96), 1000);
  EXPECT_EQ(scale_style_sheet(QStringLiteral("padding: 6px 16px; margin: -5px 0px; border: 1px solid"), 144),
            QStringLiteral("padding: 9px 24px; margin: -8px 0px; border: 2px solid"));
  // Names that merely contain "px" and non-pixel units stay as they are.
  const QString untouched = QStringLiteral("image: url(skin:images/16px.svg); font-size: 10pt; width: 5em");
  EXPECT_EQ(scale_style_sheet(untouched, 192), untouched);
  EXPECT_EQ(scale_style_sheet(QStringLiteral("width: 20px"), 96), QStringLiteral("width: 20px"));
}

TEST(ImageDescription, ParsesBareNamesAndKeyValuePairs) {
  EXPECT_EQ(parse_image_description(QStringLiteral("keys/a.png"))->file, QStringLiteral("keys/a.png"));
  EXPECT_TRUE(parse_image_description(QString())->empty());
  const auto d = parse_image_description(QStringLiteral(
      "file='a.png' restype='PNG' dest='2,3,12,13' source='0,0,40,20' corner='4,5,6,7' mask='#FF00FF' fade='120' "
      "hole='true' xtiled='true' ytiled='false' hsl='true'"));
  ASSERT_TRUE(d);
  EXPECT_EQ(d->file, QStringLiteral("a.png"));
  EXPECT_EQ(d->restype, QStringLiteral("PNG"));
  EXPECT_EQ(d->dest, QRect(QPoint(2, 3), QPoint(11, 12)));
  EXPECT_EQ(d->source, QRect(0, 0, 40, 20));
  EXPECT_EQ(d->corner, QMargins(4, 5, 6, 7));
  EXPECT_EQ(d->mask, QColor(255, 0, 255));
  EXPECT_EQ(d->fade, 120);
  EXPECT_TRUE(d->hole);
  EXPECT_TRUE(d->xtiled);
  EXPECT_FALSE(d->ytiled);
  EXPECT_EQ(parse_image_description(QStringLiteral("res='rec.png' fade='300'"))->fade, 255);
  EXPECT_EQ(parse_image_description(QStringLiteral("res='rec.png' fade='-3'"))->fade, 0);
}

TEST(ImageDescription, RefusesMalformedText) {
  EXPECT_FALSE(parse_image_description(QStringLiteral("file='a.png")));
  EXPECT_FALSE(parse_image_description(QStringLiteral("file=a.png")));
  EXPECT_FALSE(parse_image_description(QStringLiteral("file='a.png' source='1,2,3'")));
  EXPECT_FALSE(parse_image_description(QStringLiteral("file='a.png' source='1,x,3,4'")));
  EXPECT_FALSE(parse_image_description(QStringLiteral("file='a.png' fade='lots'")));
  EXPECT_FALSE(parse_image_description(QStringLiteral("file='a.png' mask='nope'")));
}

TEST(ImageDescription, SourceTextRoundTrips) {
  const QString text = source_description(QStringLiteral("pics/big.png"), QRect(20, 5, 120, 90));
  EXPECT_EQ(text, QStringLiteral("file='pics/big.png' source='20,5,140,95'"));
  const auto d = parse_image_description(text);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->source, QRect(20, 5, 120, 90));
}

namespace {

// Left half red, right half blue.
QString write_halves(const QTemporaryDir& dir) {
  QImage image(4, 2, QImage::Format_ARGB32);
  for (int x = 0; x < 4; ++x) {
    for (int y = 0; y < 2; ++y) image.setPixelColor(x, y, x < 2 ? QColor(Qt::red) : QColor(Qt::blue));
  }
  const QString path = dir.filePath(QStringLiteral("halves.png"));
  image.save(path);
  return path;
}

QImage paint(const QString& description) {
  QImage canvas(10, 10, QImage::Format_ARGB32);
  canvas.fill(Qt::white);
  QPainter p(&canvas);
  draw_image(p, canvas.rect(), *parse_image_description(description));
  return canvas;
}

}  // namespace

TEST(ImageDescription, DrawsSourceFadeAndMask) {
  QTemporaryDir dir;
  const QString path = write_halves(dir);
  const QImage whole = paint(QStringLiteral("file='%1'").arg(path));
  EXPECT_EQ(whole.pixelColor(1, 5), QColor(Qt::red));
  EXPECT_EQ(whole.pixelColor(8, 5), QColor(Qt::blue));

  const QImage right = paint(QStringLiteral("file='%1' source='2,0,4,2'").arg(path));
  EXPECT_EQ(right.pixelColor(1, 5), QColor(Qt::blue));
  EXPECT_EQ(right.pixelColor(8, 5), QColor(Qt::blue));

  const QImage masked = paint(QStringLiteral("file='%1' mask='#FF0000'").arg(path));
  EXPECT_EQ(masked.pixelColor(1, 5), QColor(Qt::white));
  EXPECT_EQ(masked.pixelColor(8, 5), QColor(Qt::blue));

  const QImage faded = paint(QStringLiteral("file='%1' fade='128'").arg(path));
  const QColor half = faded.pixelColor(1, 5);
  EXPECT_EQ(half.red(), 255);
  EXPECT_NEAR(half.green(), 127, 2);

  const QImage placed = paint(QStringLiteral("file='%1' dest='0,0,5,10'").arg(path));
  EXPECT_EQ(placed.pixelColor(8, 5), QColor(Qt::white));

  EXPECT_EQ(paint(QStringLiteral("file='/no/such/file.png'")).pixelColor(5, 5), QColor(Qt::white));
}

TEST(SkinColour, ReadsTheSkinsNotations) {
  EXPECT_EQ(parse_skin_colour(QStringLiteral("#FF8000")), QColor(255, 128, 0));
  EXPECT_EQ(parse_skin_colour(QStringLiteral("FF8000")), QColor(255, 128, 0));
  EXPECT_EQ(parse_skin_colour(QStringLiteral("#80FF8000")), QColor(255, 128, 0, 128));
  EXPECT_EQ(parse_skin_colour(QStringLiteral("0xFF102030")), QColor(16, 32, 48));
  EXPECT_FALSE(parse_skin_colour(QStringLiteral("#12345")).isValid());
  EXPECT_FALSE(parse_skin_colour(QStringLiteral("#GG0000")).isValid());
}

TEST(LanguageConfig, ReadsEntriesInOrder) {
  const auto entries = parse_language_config(R"({"Language":[
      {"Language_ID":2052,"Language_name":"zh_CN","Language_file":"lan_cn.xml","Language_text":"简体中文"},
      {"Language_ID":1033,"Language_file":"lan_en.xml"},
      "junk"]})");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].id, 2052);
  EXPECT_EQ(entries[0].text, QStringLiteral("简体中文"));
  EXPECT_EQ(entries[1].file, QStringLiteral("lan_en.xml"));
  EXPECT_TRUE(entries[1].name.isEmpty());
  EXPECT_EQ(language_index(entries, 1033), 1);
  EXPECT_FALSE(language_index(entries, 1041));
  EXPECT_TRUE(parse_language_config("{ not json").empty());
  EXPECT_TRUE(parse_language_config(R"({"Language":{}})").empty());
  EXPECT_TRUE(read_language_config(QStringLiteral("/no/such/Language.config")).empty());
}

TEST(LanguageConfig, ChoosesTheInterfaceFont) {
  EXPECT_EQ(interface_font_for(15, 1), QStringLiteral("Noto Sans Thai"));
  EXPECT_EQ(interface_font_for(0, -1), QStringLiteral("汉仪菱心体简"));
  EXPECT_EQ(interface_font_for(2, 0), QStringLiteral("Noto Sans CJK TC Regular"));
  for (int previous : {15, -1, 2, 0}) EXPECT_EQ(interface_font_for(1, previous), QStringLiteral("Verdana Unicode MS"));
  EXPECT_FALSE(interface_font_for(1, 3));
  EXPECT_FALSE(interface_font_for(4, 1));
}

TEST(LanguageConfig, FontTableHasEveryIdOnce) {
  std::set<int> ids;
  for (const FontSpec& f : font_table()) {
    EXPECT_TRUE(ids.insert(f.id).second) << f.id;
    EXPECT_GT(f.size, 0);
  }
  EXPECT_EQ(ids.size(), 14u);
  const auto bold = std::find_if(font_table().begin(), font_table().end(), [](const FontSpec& f) { return f.id == 50; });
  ASSERT_NE(bold, font_table().end());
  EXPECT_TRUE(bold->bold);
  EXPECT_EQ(bold->size, 18);
}

TEST(LanguageConfig, FontsComeFromTheTableAtTheInterfaceScale) {
  const QFont heading = font_for(50, QStringLiteral("Noto Sans"), 96);
  EXPECT_EQ(heading.family(), QStringLiteral("Noto Sans"));
  EXPECT_EQ(heading.pixelSize(), 18);
  EXPECT_TRUE(heading.bold());
  EXPECT_TRUE(font_for(1, QStringLiteral("Noto Sans"), 96).underline());
  EXPECT_EQ(font_for(3, QStringLiteral("Noto Sans"), 144).pixelSize(), 45);
  EXPECT_EQ(font_for(77, QStringLiteral("Noto Sans"), 96).pixelSize(), 14);  // unknown id: the default
}

TEST(RecordingFade, NeverLeavesItsRangeAndTurnsAtBothEnds) {
  using Button = CRedioMacroButtonUI;
  for (int start = Button::kFadeMin; start <= Button::kFadeMax; ++start) {
    for (bool falling : {true, false}) {
      const Button::Fade next = Button::next_fade({start, falling});
      EXPECT_GE(next.value, Button::kFadeMin);
      EXPECT_LE(next.value, Button::kFadeMax);
      EXPECT_LE(std::abs(next.value - start), Button::kFadeStep);
    }
  }
  Button::Fade f;
  bool saw_min = false;
  bool saw_max_again = false;
  for (int tick = 0; tick < 40; ++tick) {
    f = Button::next_fade(f);
    saw_min = saw_min || f.value == Button::kFadeMin;
    saw_max_again = saw_max_again || (saw_min && f.value == Button::kFadeMax);
  }
  EXPECT_TRUE(saw_min);
  EXPECT_TRUE(saw_max_again);
}

TEST(PanningCrop, MovesAgainstTheMouseInsideThePicture) {
  using Button = CHandImgSelectButtonUI;
  EXPECT_EQ(Button::pan(0, -20, 120, 400), 20);    // mouse left: crop right
  EXPECT_EQ(Button::pan(20, 5, 120, 400), 15);     // mouse right: back
  EXPECT_EQ(Button::pan(270, -50, 120, 400), 280); // right edge stays inside
  EXPECT_EQ(Button::pan(10, 50, 120, 400), 0);     // never below 0
  EXPECT_EQ(Button::pan(0, -50, 120, 100), 0);     // picture smaller than the view
  EXPECT_EQ(Button::cursor_for(QStringLiteral("HAND")), Qt::PointingHandCursor);
  EXPECT_EQ(Button::cursor_for(QStringLiteral("sizewe")), Qt::SizeHorCursor);
  EXPECT_FALSE(Button::cursor_for(QStringLiteral("spinner")));
}

TEST(DeleteMark, SitsBottomRightAndScales) {
  EXPECT_EQ(CHandImgButtonUI::delete_mark_rect(QSize(120, 90), 96), QRect(90, 61, 20, 20));
  EXPECT_EQ(CHandImgButtonUI::delete_mark_rect(QSize(180, 135), 144), QRect(135, 91, 30, 30));
}

TEST(CircleSweep, CoversTheRangeBetweenMinimumAndMaximum) {
  EXPECT_DOUBLE_EQ(CCircleProgressUI::sweep_degrees(0, 0, 100), 0.0);
  EXPECT_DOUBLE_EQ(CCircleProgressUI::sweep_degrees(25, 0, 100), 90.0);
  EXPECT_DOUBLE_EQ(CCircleProgressUI::sweep_degrees(100, 0, 100), 360.0);
  // The minimum counts: 35 of 10..110 is a quarter.
  EXPECT_DOUBLE_EQ(CCircleProgressUI::sweep_degrees(35, 10, 110), 90.0);
  EXPECT_DOUBLE_EQ(CCircleProgressUI::sweep_degrees(500, 0, 100), 360.0);
  EXPECT_DOUBLE_EQ(CCircleProgressUI::sweep_degrees(-5, 0, 100), 0.0);
  EXPECT_DOUBLE_EQ(CCircleProgressUI::sweep_degrees(5, 7, 7), 0.0);  // empty range: no division by zero
}

