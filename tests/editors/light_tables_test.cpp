// The lighting editor's tables and record changes, without a GUI.
#include <gtest/gtest.h>

#include <set>

#include "devices/device_kind.h"
#include "editors/lighting/light_edits.h"
#include "editors/lighting/light_layout.h"
#include "editors/lighting/light_words.h"
#include "editors/lighting/same_mode.h"

using namespace qxr;
using namespace qxr::editors;

namespace {

LightInfo sample_light() {
  LightInfo l;
  l.select_item = 23;
  l.light = 3;
  l.speed = 1;
  l.fx = 1;
  l.multi_color = 1;
  l.red = 0x12;
  l.green = 0x34;
  l.blue = 0x56;
  l.zzcc_led_mode = 2;
  l.custom_group = 3;
  l.old_led_mode = 9;
  return l;
}

// Group states of a plan in table order: Eff, 7C, Col, Pal, Bri, Spd, Dir (1 on, 0 off, -1 untouched).
std::vector<int> groups(const LayoutPlan& plan) {
  std::vector<int> out;
  for (std::string_view c : {kEffectLayout, kSevenColourCheck, kColourLayout, kPaletteLayout, kBrightnessLayout,
                             kSpeedLayout, kDirectionLayout}) {
    std::optional<bool> e = plan.enabled(c);
    out.push_back(e ? int(*e) : -1);
  }
  return out;
}

LayoutPlan plan(int kind, int mode, bool same = true) {
  std::optional<LayoutPlan> p = layout_for(kind, mode, same);
  EXPECT_TRUE(p.has_value()) << kind << "/" << mode;
  return p.value_or(LayoutPlan{});
}

}  // namespace

// ---- words ----

TEST(LightWords, PackTheFirstEightBytesAsTheTwoWords) {
  const LightWords w = pack_light_words(sample_light());
  EXPECT_EQ(w.a, 0x01'01'03'17u);
  EXPECT_EQ(w.b, 0x56'34'12'01u);
  const LightInfo back = unpack_light_words(w, LightInfo{});
  EXPECT_EQ(back.select_item, 23);
  EXPECT_EQ(back.light, 3);
  EXPECT_EQ(back.speed, 1);
  EXPECT_EQ(back.fx, 1);
  EXPECT_EQ(back.multi_color, 1);
  EXPECT_EQ(colour_of(back), (Rgb{0x12, 0x34, 0x56}));
  // The keyboard's own bytes come from the base record, never from the words.
  EXPECT_EQ(back.custom_group, 0);
  EXPECT_EQ(unpack_light_words(w, sample_light()), sample_light());
}

TEST(LightWords, ToolkitColourIsOpaqueRgb) {
  EXPECT_EQ(toolkit_colour({0x12, 0x34, 0x56}), 0xFF123456u);
  EXPECT_EQ(rgb_of_toolkit_colour(0x80ABCDEFu), (Rgb{0xAB, 0xCD, 0xEF}));
  EXPECT_EQ(toolkit_colour({}), 0xFF000000u);
}

// ---- layout ----

TEST(LightLayout, KeyboardPreparesEveryModeTheSameWay) {
  for (int mode : {0, 1, 4, 12, 17, 20, 21, 28, 30, 31, 200}) {
    LayoutPlan p = plan(kPanelKeyboard, mode);
    EXPECT_EQ(p.settings.front(), (ControlSetting{kCustomLayout, Switch::Hide})) << mode;
    ASSERT_TRUE(p.colour_page) << mode;
    ASSERT_TRUE(p.labels) << mode;
    ASSERT_TRUE(p.same_mode_visible) << mode;
  }
  LayoutPlan p = plan(kPanelKeyboard, 1);
  EXPECT_EQ(p.visible(kSubModeLayout), false);
  EXPECT_EQ(p.visible(kAudioModeLayout), false);
  EXPECT_EQ(p.visible(kCustomLayout), false);
  EXPECT_EQ(p.visible(kSpeedLayout), true);
  EXPECT_EQ(p.enabled(kColourGroupLayout), true);
  EXPECT_EQ(p.enabled(kRgbLayout), true);
  EXPECT_EQ(*p.colour_page, kColourPageLight);
  EXPECT_EQ(*p.labels, kLabelsRightLeft);
}

TEST(LightLayout, KeyboardRowsEnableTheirGroups) {
  // Eff 7C Col Pal Bri Spd Dir, copied from the keyboard's table.
  const std::vector<int> all{1, 1, 1, 1, 1, 1, 1};
  const std::vector<int> effect_only{1, 0, 0, 0, 0, 0, 0};
  const std::vector<int> colour_no_dir{1, 1, 1, 1, 1, 1, 0};
  const std::vector<std::pair<std::vector<int>, std::vector<int>>> rows = {
      {{1, 2, 3, 24, 30}, all},
      {{4, 11}, {1, 0, 0, 0, 1, 1, 0}},
      {{5, 23, 7, 8, 9, 10, 13, 15, 25, 29, 14}, colour_no_dir},
      {{6, 16}, {1, 1, 1, 1, 1, 0, 0}},
      {{12}, {1, 0, 0, 0, 1, 1, 1}},
      {{17, 26, 27}, {1, 0, 0, 0, 1, 1, 0}},
      {{18}, {1, 0, 0, 0, 1, 0, 1}},
      {{20}, {1, 0, 1, 1, 1, 0, 0}},
      {{21}, {1, 1, 1, 1, 1, 0, 1}},
      {{22}, {1, 0, 0, 0, 1, 0, 0}},
      {{0, 19, 28, 31, 99, 255}, effect_only},
  };
  std::set<int> seen;
  for (const auto& [modes, expected] : rows) {
    for (int mode : modes) {
      EXPECT_EQ(groups(plan(kPanelKeyboard, mode)), expected) << "keyboard mode " << mode;
      seen.insert(mode);
    }
  }
  for (int mode = 0; mode <= 30; ++mode) EXPECT_TRUE(seen.count(mode)) << "mode " << mode << " not checked";
}

TEST(LightLayout, KeyboardExtrasOfTheirRows) {
  EXPECT_EQ(plan(kPanelKeyboard, 4).enabled(kColourGroupLayout), false);
  EXPECT_EQ(plan(kPanelKeyboard, 11).enabled(kColourGroupLayout), false);
  EXPECT_EQ(plan(kPanelKeyboard, 22).enabled(kColourGroupLayout), false);
  EXPECT_EQ(plan(kPanelKeyboard, 5).enabled(kColourGroupLayout), true);
  EXPECT_EQ(plan(kPanelKeyboard, 12).enabled(kRgbLayout), false);
  EXPECT_EQ(*plan(kPanelKeyboard, 12).labels, kLabelsDownUp);
  EXPECT_EQ(*plan(kPanelKeyboard, 3).labels, kLabelsClockwise);
  EXPECT_EQ(*plan(kPanelKeyboard, 24).labels, kLabelsClockwise);
  EXPECT_EQ(*plan(kPanelKeyboard, 18).labels, kLabelsOutsideIn);
  EXPECT_EQ(*plan(kPanelKeyboard, 30).labels, kLabelsUpDown);

  LayoutPlan wheel = plan(kPanelKeyboard, 17);
  EXPECT_EQ(wheel.visible(kSubModeLayout), true);
  EXPECT_EQ(wheel.visible(kSpeedLayout), false);
  EXPECT_EQ(wheel.enabled(kSpeedLayout), true);  // enabled, only out of sight

  LayoutPlan custom = plan(kPanelKeyboard, 20);
  EXPECT_EQ(custom.visible(kCustomLayout), true);
  EXPECT_EQ(custom.visible(kSpeedLayout), false);
  EXPECT_EQ(*custom.colour_page, kColourPageLight);

  LayoutPlan music = plan(kPanelKeyboard, 21);
  EXPECT_EQ(music.visible(kAudioModeLayout), true);
  EXPECT_EQ(music.visible(kSpeedLayout), false);
  EXPECT_EQ(*music.colour_page, kColourPageAudio);
  EXPECT_EQ(music.visible(kCustomLayout), false);
}

TEST(LightLayout, SameModeButtonOnlyForItsModesAndOnlyWhileAvailable) {
  const std::set<int> keyboard_same{4, 5, 6, 23, 28};
  for (int mode = 0; mode <= 31; ++mode) {
    EXPECT_EQ(*plan(kPanelKeyboard, mode, true).same_mode_visible, keyboard_same.count(mode) == 1) << mode;
    EXPECT_FALSE(*plan(kPanelKeyboard, mode, false).same_mode_visible) << mode;
    EXPECT_EQ(mode_offers_same_mode(kPanelKeyboard, mode), keyboard_same.count(mode) == 1) << mode;
  }
  const std::set<int> other_same{1, 2, 3, 4, 8};
  for (int kind : {kPanelMouse, kPanelMousePad, kPanelKindFour, kPanelHeadset}) {
    for (int mode = 0; mode <= 9; ++mode) {
      EXPECT_EQ(*plan(kind, mode, true).same_mode_visible, other_same.count(mode) == 1) << kind << "/" << mode;
      EXPECT_FALSE(*plan(kind, mode, false).same_mode_visible);
    }
  }
}

TEST(LightLayout, MouseRows) {
  const std::vector<int> all{1, 1, 1, 1, 1, 1, 1};
  EXPECT_EQ(groups(plan(kPanelMouse, 0)), all);
  EXPECT_EQ(groups(plan(kPanelMouse, 5)), all);
  EXPECT_EQ(groups(plan(kPanelMouse, 2)), all);
  EXPECT_EQ(groups(plan(kPanelMouse, 1)), (std::vector<int>{1, 0, 0, 0, 1, 1, 0}));
  EXPECT_EQ(groups(plan(kPanelMouse, 3)), (std::vector<int>{1, 0, 1, 1, 1, 0, 0}));
  EXPECT_EQ(groups(plan(kPanelMouse, 4)), (std::vector<int>{1, 1, 1, 1, 1, 1, 0}));
  EXPECT_EQ(groups(plan(kPanelMouse, 6)), (std::vector<int>{1, 0, 0, 0, 1, 1, 0}));
  EXPECT_EQ(groups(plan(kPanelMouse, 7)), (std::vector<int>{1, 0, 0, 0, 1, 1, 0}));
  EXPECT_EQ(groups(plan(kPanelMouse, 8)), (std::vector<int>{1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(groups(plan(kPanelMouse, 9)), (std::vector<int>{1, 0, 0, 0, 0, 0, 0}));
  // Nothing of the keyboard's preparation: its groups stay as the skin has them.
  LayoutPlan p = plan(kPanelMouse, 0);
  EXPECT_FALSE(p.visible(kCustomLayout));
  EXPECT_FALSE(p.colour_page);
  EXPECT_FALSE(p.labels);
}

TEST(LightLayout, PadAndHeadsetShareOneTable) {
  for (int kind : {kPanelMousePad, kPanelKindFour, kPanelHeadset}) {
    EXPECT_EQ(groups(plan(kind, 0)), (std::vector<int>{1, 1, 1, 1, 1, 1, 1})) << kind;
    EXPECT_EQ(groups(plan(kind, 1)), (std::vector<int>{1, 0, 0, 0, 1, 1, 0})) << kind;
    EXPECT_EQ(groups(plan(kind, 2)), (std::vector<int>{1, 1, 1, 1, 1, 1, 0})) << kind;
    EXPECT_EQ(groups(plan(kind, 4)), (std::vector<int>{1, 1, 1, 1, 1, 1, 0})) << kind;
    EXPECT_EQ(groups(plan(kind, 3)), (std::vector<int>{1, 0, 1, 1, 1, 0, 0})) << kind;
    for (int mode : {5, 6, 7, 8, 42}) EXPECT_EQ(groups(plan(kind, mode)), (std::vector<int>{1, 0, 0, 0, 0, 0, 0}));
  }
}

TEST(LightLayout, KindFiveNeverTouchesDirectionOrSameMode) {
  EXPECT_EQ(groups(plan(kPanelKindFive, 0)), (std::vector<int>{1, 1, 1, 1, 1, 1, -1}));
  EXPECT_EQ(groups(plan(kPanelKindFive, 2)), (std::vector<int>{1, 1, 1, 1, 1, 1, -1}));
  EXPECT_EQ(groups(plan(kPanelKindFive, 3)), (std::vector<int>{1, 1, 1, 1, 1, 1, -1}));
  EXPECT_EQ(groups(plan(kPanelKindFive, 1)), (std::vector<int>{1, 0, 1, 1, 1, 0, -1}));
  EXPECT_EQ(groups(plan(kPanelKindFive, 4)), (std::vector<int>{1, 0, 0, 0, 1, 1, -1}));
  EXPECT_EQ(groups(plan(kPanelKindFive, 7)), (std::vector<int>{1, 0, 0, 0, 0, 0, -1}));
  EXPECT_FALSE(plan(kPanelKindFive, 0).same_mode_visible);
}

TEST(LightLayout, KindsWithoutATableLeaveTheControlsAlone) {
  for (int kind : {0, 6, 8, -1, 100}) EXPECT_FALSE(layout_for(kind, 1, true)) << kind;
  EXPECT_FALSE(mode_offers_same_mode(6, 1));
}

// ---- same mode ----

TEST(SameMode, CommonEffectsOfBothColumns) {
  const std::pair<int, int> columns[] = {{5, 2}, {6, 3}, {23, 4}, {4, 1}, {28, 8}};
  for (size_t e = 0; e < std::size(columns); ++e) {
    const auto effect = static_cast<CommonEffect>(e);
    EXPECT_EQ(common_effect_of(devices::kKindKeyboard, columns[e].first), effect);
    for (int kind : {devices::kKindMouse, devices::kKindReceiverMouse, devices::kKindMousePad, devices::kKindHeadset}) {
      EXPECT_EQ(common_effect_of(kind, columns[e].second), effect) << kind;
      EXPECT_EQ(mode_for_common_effect(kind, effect), columns[e].second);
    }
    EXPECT_EQ(mode_for_common_effect(devices::kKindKeyboard, effect), columns[e].first);
  }
  EXPECT_FALSE(common_effect_of(devices::kKindKeyboard, 2));  // the mouse's number, not the keyboard's
  EXPECT_FALSE(common_effect_of(devices::kKindMouse, 5));
  EXPECT_FALSE(common_effect_of(devices::kKindKeyboard, 20));
}

TEST(SameMode, KeyboardBlinkBecomesTheMouseBlinkWithTheKeyboardsSettings) {
  const std::optional<SharedLight> shared = shared_light_from(devices::kKindKeyboard, sample_light());
  ASSERT_TRUE(shared);
  EXPECT_EQ(shared->effect, CommonEffect::Blink);
  LightInfo mouse;
  mouse.select_item = 0;
  mouse.light = 1;
  mouse.custom_group = 7;
  const LightInfo copied = same_mode_record(devices::kKindMouse, mouse, *shared);
  EXPECT_EQ(copied.select_item, 4);
  EXPECT_EQ(copied.light, 3);
  EXPECT_EQ(copied.speed, 1);
  EXPECT_EQ(copied.fx, 1);
  EXPECT_EQ(copied.multi_color, 1);
  EXPECT_EQ(colour_of(copied), (Rgb{0x12, 0x34, 0x56}));
  EXPECT_EQ(copied.custom_group, 7);  // the device's own byte
}

TEST(SameMode, AKeyboardTakingACopyKeepsItsSubModeAndGroup) {
  LightInfo mouse_light;
  mouse_light.select_item = 1;  // spectrum
  mouse_light.light = 2;
  const std::optional<SharedLight> shared = shared_light_from(devices::kKindMouse, mouse_light);
  ASSERT_TRUE(shared);
  const LightInfo kb = same_mode_record(devices::kKindKeyboard, sample_light(), *shared);
  EXPECT_EQ(kb.select_item, 4);
  EXPECT_EQ(kb.light, 2);
  EXPECT_EQ(kb.custom_group, 3);
  EXPECT_EQ(kb.zzcc_led_mode, 2);
  EXPECT_EQ(kb.old_led_mode, 9);
}

TEST(SameMode, AModeOutsideTheTableCopiesNothing) {
  LightInfo l = sample_light();
  l.select_item = 20;
  EXPECT_FALSE(shared_light_from(devices::kKindKeyboard, l));
}

TEST(SameMode, KeyboardsFirstThenMiceMousePadsAndHeadsets) {
  const std::vector<int> kinds = {devices::kKindHeadset, devices::kKindMouse, 0, devices::kKindMousePad, devices::kKindKeyboard,
                                  devices::kKindReceiverMouse, devices::kKindKeyboard};
  EXPECT_EQ(same_mode_order(kinds), (std::vector<size_t>{4, 6, 1, 5, 3, 0}));
  EXPECT_TRUE(same_mode_order({}).empty());
  EXPECT_FALSE(same_mode_rank(5));
}

// ---- notifications ----

TEST(LightNotifications, EveryControlOfTheTableFindsItsAction) {
  EXPECT_EQ(find_light_route("valuechanged", "deng_speed_slider"), (LightRoute{LightAction::Speed}));
  EXPECT_EQ(find_light_route("killfocus", "deng_edit_G"), (LightRoute{LightAction::EditGreen}));
  EXPECT_EQ(find_light_route("click", "color_option_12"), (LightRoute{LightAction::PresetColour, 12}));
  EXPECT_EQ(find_light_route("click", "audiocolor_option_0"), (LightRoute{LightAction::AudioPreset, 0}));
  EXPECT_EQ(find_light_route("colorchanged", "deng_audioColor_Pallet"), (LightRoute{LightAction::AudioPalette}));
  // Wrong type, a name that is only a prefix, digits that are not all digits, an index too big.
  EXPECT_FALSE(find_light_route("click", "deng_speed_slider"));
  EXPECT_FALSE(find_light_route("click", "color_option_"));
  EXPECT_FALSE(find_light_route("click", "color_option_1a"));
  EXPECT_FALSE(find_light_route("click", "color_option_99999999999"));
  EXPECT_FALSE(find_light_route("killfocus", "deng_edit_g"));
  // Every row is found by its own type and name, and no two rows share them.
  std::set<std::pair<std::string_view, std::string_view>> rows;
  for (const LightNotificationRow& row : light_notification_table()) {
    EXPECT_TRUE(rows.insert({row.type, row.name}).second) << row.name;
    const std::string name = std::string(row.name) + (row.match == ui::Match::Indexed ? "3" : "");
    std::optional<LightRoute> r = find_light_route(row.type, name);
    ASSERT_TRUE(r) << name;
    EXPECT_EQ(r->action, row.action);
  }
}

TEST(LightChanges, EachChangeTouchesItsOwnBytes) {
  const LightInfo base = sample_light();
  auto changed = [&](LightChange c) { return apply_light_change(base, c).value(); };

  LightInfo l = changed({LightAction::SelectMode, 21});
  EXPECT_EQ(l.select_item, 21);
  l.select_item = base.select_item;
  EXPECT_EQ(l, base);

  EXPECT_EQ(changed({LightAction::Brightness, 4}).light, 4);
  EXPECT_EQ(changed({LightAction::Brightness, 9}).light, 4);  // never past the top level
  EXPECT_EQ(changed({LightAction::Speed, 0}).speed, 0);
  EXPECT_EQ(changed({LightAction::DirectionFirst}).fx, 1);
  EXPECT_EQ(changed({LightAction::DirectionSecond}).fx, 0);
  EXPECT_EQ(changed({LightAction::SevenColour, 0}).multi_color, 0);
  EXPECT_EQ(changed({LightAction::SubMode, 3}).zzcc_led_mode, 3);
  EXPECT_EQ(changed({LightAction::CustomGroup, 1}).custom_group, 1);

  l = changed({LightAction::EditGreen, 255});
  EXPECT_EQ(colour_of(l), (Rgb{0x12, 255, 0x56}));
  EXPECT_EQ(l.multi_color, 0);
  l = changed({LightAction::PresetColour, 0, {1, 2, 3}});
  EXPECT_EQ(colour_of(l), (Rgb{1, 2, 3}));
  EXPECT_EQ(l.multi_color, 0);
  EXPECT_EQ(colour_of(changed({LightAction::PaletteColour, 0, {9, 8, 7}})), (Rgb{9, 8, 7}));

  for (LightAction a : {LightAction::PaintLit, LightAction::SameMode, LightAction::AudioMode})
    EXPECT_FALSE(apply_light_change(base, {a}));
}

TEST(LightChanges, ColourTextIsClampedAndWrittenBack) {
  EXPECT_EQ(clamp_colour_text("300"), (ClampedColour{255, "255"}));
  EXPECT_EQ(clamp_colour_text(""), (ClampedColour{0, "0"}));
  EXPECT_EQ(clamp_colour_text("  "), (ClampedColour{0, "0"}));
  EXPECT_EQ(clamp_colour_text("007"), (ClampedColour{7, "7"}));
  EXPECT_EQ(clamp_colour_text(" 42 "), (ClampedColour{42, "42"}));
  EXPECT_EQ(clamp_colour_text("255"), (ClampedColour{255, "255"}));
  EXPECT_EQ(clamp_colour_text("256"), (ClampedColour{255, "255"}));
  EXPECT_EQ(clamp_colour_text("99999999999999999999"), (ClampedColour{255, "255"}));
  EXPECT_EQ(clamp_colour_text("-5"), (ClampedColour{0, "0"}));
  EXPECT_EQ(clamp_colour_text("1x"), (ClampedColour{0, "0"}));
}

// ---- music record ----

TEST(AudioRecord, EditsReplaceTheShownColour) {
  AudioLightInfo a;
  a.bk_red = 10;
  a.fg_red = 20;
  a.seven_color_flags = 1;
  a.color_type_flags = kShowBackground;
  AudioLightInfo b = apply_audio_change(a, {LightAction::AudioEditRed, 99}).value();
  EXPECT_EQ(b.bk_red, 99);
  EXPECT_EQ(b.fg_red, 20);
  EXPECT_EQ(b.seven_color_flags, 1);  // a background edit keeps the flag

  a.color_type_flags = kShowForeground;
  b = apply_audio_change(a, {LightAction::AudioEditBlue, 300}).value();
  EXPECT_EQ(b.fg_blue, 255);
  EXPECT_EQ(b.bk_red, 10);
  EXPECT_EQ(b.seven_color_flags, 0);  // a foreground edit ends the seven colours

  b = apply_audio_change(a, {LightAction::AudioPreset, 0, {1, 2, 3}}).value();
  EXPECT_EQ(shown_audio_colour(b), (Rgb{1, 2, 3}));
  EXPECT_EQ(b.seven_color_flags, 0);
  b = apply_audio_change(a, {LightAction::AudioPalette, 0, {4, 5, 6}}).value();
  EXPECT_EQ(shown_audio_colour(b), (Rgb{4, 5, 6}));
  EXPECT_EQ(b.seven_color_flags, 1);  // the palette keeps it

  EXPECT_FALSE(apply_audio_change(a, {LightAction::Brightness, 1}));
}

TEST(AudioRecord, ReadingTheControlsDecidesWhichColourIsShown) {
  AudioLightInfo stored;
  stored.bk_green = 11;
  stored.fg_green = 22;
  auto read = [&](uint8_t was, bool bk, bool fg) {
    stored.color_type_flags = was;
    return read_audio_record(stored, {2, true, bk, fg}, std::nullopt).color_type_flags;
  };
  EXPECT_EQ(read(kShowForeground, true, false), kShowBackground);
  EXPECT_EQ(read(kShowBackground, true, false), kShowBackground);
  EXPECT_EQ(read(kShowForeground, false, true), kShowForeground);
  EXPECT_EQ(read(kShowBackground, false, true), kShowForeground);
  EXPECT_EQ(read(kShowForeground, true, true), kShowBackground);
  EXPECT_EQ(read(kShowBackground, true, true), kShowForeground);
  EXPECT_EQ(read(kShowBackground, false, false), kShowForeground);

  stored.color_type_flags = kShowBackground;
  AudioLightInfo a = read_audio_record(stored, {3, true, false, true}, Rgb{7, 8, 9});
  EXPECT_EQ(a.audio_mode, 3);
  EXPECT_EQ(a.seven_color_flags, 1);
  EXPECT_EQ(a.color_type_flags, kShowForeground);
  EXPECT_EQ((Rgb{a.fg_red, a.fg_green, a.fg_blue}), (Rgb{7, 8, 9}));  // the swatch went to the shown one
  EXPECT_EQ(a.bk_green, 11);
}

TEST(AudioRecord, ModeThreeHasNoColours) {
  for (int mode = 0; mode < 7; ++mode) EXPECT_EQ(audio_colours_enabled(mode), mode != 3) << mode;
}

TEST(AudioRecord, ColourPairCarriesTheRecordAsTheKeyboardReadsIt) {
  AudioLightInfo a{5, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 1, 0};
  const ColourPair p = colour_pair_of(a);
  EXPECT_EQ(p.first, 0x33221105u);
  EXPECT_EQ(p.second, 0x01665544u);
  EXPECT_EQ(p.selector, 0);
  EXPECT_EQ(audio_of_colour_pair(p), a);
  a.color_type_flags = kShowForeground;
  a.seven_color_flags = 0;
  EXPECT_EQ(audio_of_colour_pair(colour_pair_of(a)), a);
}
