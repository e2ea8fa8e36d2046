#include "profile/record_json.h"

#include "profile/json_access.h"

namespace qxr {

namespace {
uint8_t byte_of(const Json::Value& object, const char* key) {
  return static_cast<uint8_t>(ToInt(Member(object, key)));
}
uint8_t flag_of(const Json::Value& object, const char* key) {
  return ToBool(Member(object, key)) ? 1 : 0;
}
uint16_t word_of(const Json::Value& object, const char* key) {
  return static_cast<uint16_t>(ToInt(Member(object, key)));
}
}  // namespace

LightInfo LightInfoFromJson(const Json::Value& object) {
  LightInfo info;
  info.select_item = byte_of(object, "SelectItem");
  info.light = byte_of(object, "Light");
  info.speed = byte_of(object, "Speed");
  info.fx = byte_of(object, "Fx");
  info.multi_color = flag_of(object, "MultiColor");
  info.red = byte_of(object, "Red");
  info.green = byte_of(object, "Green");
  info.blue = byte_of(object, "Blue");
  info.zzcc_led_mode = byte_of(object, "ZZCCLedMode");
  info.custom_group = byte_of(object, "CustomGroup");
  info.old_led_mode = byte_of(object, "OldLedmode");
  return info;
}

Json::Value LightInfoToJson(const LightInfo& info) {
  Json::Value o(Json::objectValue);
  o["SelectItem"] = info.select_item;
  o["Light"] = info.light;
  o["Speed"] = info.speed;
  o["Fx"] = info.fx;
  o["MultiColor"] = info.multi_color;
  o["Red"] = info.red;
  o["Green"] = info.green;
  o["Blue"] = info.blue;
  o["ZZCCLedMode"] = info.zzcc_led_mode;
  o["CustomGroup"] = info.custom_group;
  o["OldLedmode"] = info.old_led_mode;
  return o;
}

AudioLightInfo AudioLightInfoFromJson(const Json::Value& object) {
  AudioLightInfo info;
  info.audio_mode = byte_of(object, "AudioMode");
  info.bk_red = byte_of(object, "BkColorR");
  info.bk_green = byte_of(object, "BkColorG");
  info.bk_blue = byte_of(object, "BkColorB");
  info.fg_red = byte_of(object, "FgColorR");
  info.fg_green = byte_of(object, "FgColorG");
  info.fg_blue = byte_of(object, "FgColorB");
  info.seven_color_flags = flag_of(object, "7ColorFlags");
  info.color_type_flags = 1;
  return info;
}

Json::Value AudioLightInfoToJson(const AudioLightInfo& info) {
  Json::Value o(Json::objectValue);
  o["AudioMode"] = info.audio_mode;
  o["BkColorR"] = info.bk_red;
  o["BkColorG"] = info.bk_green;
  o["BkColorB"] = info.bk_blue;
  o["FgColorR"] = info.fg_red;
  o["FgColorG"] = info.fg_green;
  o["FgColorB"] = info.fg_blue;
  o["7ColorFlags"] = info.seven_color_flags;
  o["ColorTypeFlags"] = info.color_type_flags;
  return o;
}

PerLedRecord PerLedRecordFromJson(const Json::Value& element) {
  PerLedRecord r;
  if (!element.isObject()) return r;
  r.led_reg_mode = byte_of(element, "LEDREGMode");
  r.led_brightness = byte_of(element, "LEDBrightness");
  r.led_speed = byte_of(element, "LEDSpeed");
  r.led_direction = flag_of(element, "LEDDirection");
  r.led_multi_color = flag_of(element, "LEDMultiColor");
  r.red = byte_of(element, "red");
  r.green = byte_of(element, "green");
  r.blue = byte_of(element, "blue");
  r.present = 1;
  return r;
}

LightEffectStep LightEffectStepFromJson(const Json::Value& element) {
  LightEffectStep s;
  s.led_reg_mode = byte_of(element, "LEDREGMode");
  s.led_brightness = byte_of(element, "LEDBrightness");
  s.led_speed = byte_of(element, "LEDSpeed");
  s.led_direction = byte_of(element, "LEDDirection");
  s.led_multi_color = byte_of(element, "LEDMultiColor");
  s.red = byte_of(element, "red");
  s.green = byte_of(element, "green");
  s.blue = byte_of(element, "blue");
  s.time = ToInt(Member(element, "Time"));
  s.cycle = ToInt(Member(element, "Cyle"));
  return s;
}

KeyAssignRecord KeyAssignRecordFromJson(const Json::Value& element, uint16_t key_index) {
  return {KeyAssignment::FromCode(key_index, ToInt(Member(element, "Assignment"))),
          KeyAssignment::FromCode(key_index, ToInt(Member(element, "DefaultAssignment")))};
}

DpiStage DpiStageFromJson(const Json::Value& element) {
  DpiStage s;
  s.stage_active = byte_of(element, "StageActive");
  s.stage_xy = byte_of(element, "StageXY");
  s.SetDpiX(word_of(element, "StageDPIX"));
  s.SetDpiY(word_of(element, "StageDPIY"));
  s.color_r = byte_of(element, "StageColorR");
  s.color_g = byte_of(element, "StageColorG");
  s.color_b = byte_of(element, "StageColorB");
  return s;
}

void DpiStageToJson(const DpiStage& stage, Json::Value& element) {
  WritableMember(element, "StageActive") = stage.stage_active;
  element["StageXY"] = stage.stage_xy;
  element["StageDPIX"] = stage.DpiX();
  element["StageDPIY"] = stage.DpiY();
  element["StageColorR"] = stage.color_r;
  element["StageColorG"] = stage.color_g;
  element["StageColorB"] = stage.color_b;
}

CorrectEntry CorrectEntryFromJson(const Json::Value& element) {
  CorrectEntry e;
  e.pix_thresh = byte_of(element, "CorrectPixThresh");
  e.min_sq = byte_of(element, "CorrectMinSq");
  e.select = byte_of(element, "CorrectSelect");
  e.name = ToString(Member(element, "CorrectName"));
  return e;
}

CustomColour CustomColourFromJson(const Json::Value& element) {
  return {byte_of(element, "Red"), byte_of(element, "Green"), byte_of(element, "Blue"),
          byte_of(element, "Alpha")};
}

Json::Value CustomColourToJson(const CustomColour& colour) {
  Json::Value o(Json::objectValue);
  o["Red"] = colour.red;
  o["Green"] = colour.green;
  o["Blue"] = colour.blue;
  o["Alpha"] = colour.alpha;
  return o;
}

}  // namespace qxr
