// Round trips of every record through its JSON object.
#include <gtest/gtest.h>

#include <cstring>

#include "profile/json_file.h"
#include "profile/record_json.h"

using namespace qxr;

namespace {
// Through text as well, so that the written form is what reads back.
Json::Value through_text(const Json::Value& v) { return ParseJsonText(StyledJsonText(v)); }
}  // namespace

TEST(LightInfoJson, RoundTripKeepsElevenBytesAndDropsTheReserved) {
  LightInfo in{};
  in.select_item = 20;
  in.light = 4;
  in.speed = 3;
  in.fx = 1;
  in.multi_color = 1;
  in.red = 0xFF;
  in.green = 0x80;
  in.blue = 1;
  in.reserved[0] = 9;
  in.reserved[2] = 9;
  in.zzcc_led_mode = 5;
  in.custom_group = 2;
  in.old_led_mode = 7;
  const Json::Value o = through_text(LightInfoToJson(in));
  EXPECT_EQ(o.size(), 11u);
  EXPECT_TRUE(o["MultiColor"].isInt());  // written as an integer
  LightInfo out = LightInfoFromJson(o);
  LightInfo expected = in;
  expected.reserved[0] = expected.reserved[2] = 0;
  EXPECT_EQ(out, expected);
}

TEST(LightInfoJson, MultiColorReadsAsZeroOrOne) {
  Json::Value o;
  o["MultiColor"] = 7;
  EXPECT_EQ(LightInfoFromJson(o).multi_color, 1);
  o["MultiColor"] = 0;
  EXPECT_EQ(LightInfoFromJson(o).multi_color, 0);
  o["MultiColor"] = true;
  EXPECT_EQ(LightInfoFromJson(o).multi_color, 1);
}

TEST(LightInfoJson, WideValuesAreTruncatedToTheByte) {
  Json::Value o;
  o["Red"] = 0x1FF;
  o["Speed"] = -1;
  LightInfo info = LightInfoFromJson(o);
  EXPECT_EQ(info.red, 0xFF);
  EXPECT_EQ(info.speed, 0xFF);
}

TEST(AudioLightInfoJson, RoundTripWithByteEightAlwaysOne) {
  AudioLightInfo in{3, 10, 20, 30, 40, 50, 60, 1, 0};
  const Json::Value o = through_text(AudioLightInfoToJson(in));
  EXPECT_EQ(o.size(), 9u);
  EXPECT_EQ(o["ColorTypeFlags"].asInt(), 0);  // all nine are written
  AudioLightInfo out = AudioLightInfoFromJson(o);
  EXPECT_EQ(out.color_type_flags, 1);  // but byte 8 is not read back
  out.color_type_flags = 0;
  EXPECT_EQ(out, in);
  Json::Value flags;
  flags["7ColorFlags"] = 5;
  EXPECT_EQ(AudioLightInfoFromJson(flags).seven_color_flags, 1);
}

TEST(PerLedRecordJson, ObjectIsPresentNullIsNot) {
  Json::Value o;
  o["LEDREGMode"] = 2;
  o["LEDBrightness"] = 255;
  o["LEDSpeed"] = 3;
  o["LEDDirection"] = 4;
  o["LEDMultiColor"] = 0;
  o["red"] = 1;
  o["green"] = 2;
  o["blue"] = 3;
  o["Red"] = 99;  // upper-case keys are not the per-LED ones
  PerLedRecord r = PerLedRecordFromJson(o);
  EXPECT_EQ(r.led_reg_mode, 2);
  EXPECT_EQ(r.led_brightness, 255);
  EXPECT_EQ(r.led_speed, 3);
  EXPECT_EQ(r.led_direction, 1);
  EXPECT_EQ(r.led_multi_color, 0);
  EXPECT_EQ(r.red, 1);
  EXPECT_EQ(r.green, 2);
  EXPECT_EQ(r.blue, 3);
  EXPECT_EQ(r.present, 1);
  EXPECT_EQ(PerLedRecordFromJson(Json::Value()), PerLedRecord{});
  EXPECT_EQ(PerLedRecordFromJson(Json::Value(5)).present, 0);
}

TEST(LightEffectStepJson, ReadsBytesAndTheTwoIntegers) {
  Json::Value o;
  o["LEDREGMode"] = 1;
  o["LEDDirection"] = 3;  // read as an integer here, not as a flag
  o["red"] = 300;
  o["Time"] = 100000;
  o["Cyle"] = -2;
  LightEffectStep s = LightEffectStepFromJson(o);
  EXPECT_EQ(s.led_reg_mode, 1);
  EXPECT_EQ(s.led_direction, 3);
  EXPECT_EQ(s.red, 300 & 0xFF);
  EXPECT_EQ(s.time, 100000);
  EXPECT_EQ(s.cycle, -2);
}

TEST(KeyAssignRecordJson, CodesSplitIntoTypeAndData) {
  Json::Value o;
  o["Assignment"] = 0x700102;
  o["DefaultAssignment"] = 0x100400;
  KeyAssignRecord r = KeyAssignRecordFromJson(o, 42);
  EXPECT_EQ(r.assignment, (KeyAssignment{42, 0x70, 0x01, 0x02}));
  EXPECT_EQ(r.default_assignment, (KeyAssignment{42, 0x10, 0x04, 0x00}));
  EXPECT_EQ(r.assignment.code(), 0x700102);
  EXPECT_EQ(KeyAssignment::FromCode(1, 0x0000FF).code(), 0xFF);
}

TEST(DpiStageJson, TwelveThousandIsE02EAndBack) {
  Json::Value o;
  o["StageActive"] = 1;
  o["StageXY"] = 0;
  o["StageDPIX"] = 12000;
  o["StageDPIY"] = 800;
  o["StageColorR"] = 255;
  o["StageColorG"] = 0;
  o["StageColorB"] = 128;
  DpiStage s = DpiStageFromJson(o);
  EXPECT_EQ(s.dpi_x[0], 0xE0);
  EXPECT_EQ(s.dpi_x[1], 0x2E);
  EXPECT_EQ(s.DpiY(), 800);
  // The device takes the 9 bytes as they lie in memory.
  uint8_t bytes[kDpiStageSize];
  std::memcpy(bytes, &s, sizeof bytes);
  const uint8_t expected[kDpiStageSize] = {1, 0, 0xE0, 0x2E, 0x20, 0x03, 255, 0, 128};
  EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof bytes));
  Json::Value back(Json::objectValue);
  back["Other"] = "kept";
  DpiStageToJson(s, back);
  back = through_text(back);
  EXPECT_EQ(back["StageDPIX"].asInt(), 12000);
  EXPECT_EQ(back["Other"].asString(), "kept");
  EXPECT_EQ(DpiStageFromJson(back), s);
}

TEST(CorrectEntryJson, ReadsNameAndBytes) {
  Json::Value o;
  o["CorrectPixThresh"] = 12;
  o["CorrectMinSq"] = 3;
  o["CorrectSelect"] = 1;
  o["CorrectName"] = "桌面";
  EXPECT_EQ(CorrectEntryFromJson(o), (CorrectEntry{12, 3, 1, "桌面"}));
}

TEST(CustomColourJson, RoundTrip) {
  CustomColour c{1, 2, 3, 255};
  EXPECT_EQ(CustomColourFromJson(through_text(CustomColourToJson(c))), c);
}
