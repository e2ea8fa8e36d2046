#pragma once
// Conversions between the records and their JSON objects. Readers accept any value
// (members of the wrong type read as 0); writers produce integers only.
#include <json/value.h>

#include "profile/records.h"

namespace qxr {

LightInfo LightInfoFromJson(const Json::Value& object);
Json::Value LightInfoToJson(const LightInfo& info);  // the eleven stored keys

// Byte 8 ("ColorTypeFlags") is not read: it is 1 for any object read.
AudioLightInfo AudioLightInfoFromJson(const Json::Value& object);
Json::Value AudioLightInfoToJson(const AudioLightInfo& info);

// present = 1 for an object, 0 (with all bytes 0) for anything else.
PerLedRecord PerLedRecordFromJson(const Json::Value& element);
LightEffectStep LightEffectStepFromJson(const Json::Value& element);

KeyAssignRecord KeyAssignRecordFromJson(const Json::Value& element, uint16_t key_index);

DpiStage DpiStageFromJson(const Json::Value& element);
// Writes the seven members into element (other members stay).
void DpiStageToJson(const DpiStage& stage, Json::Value& element);

CorrectEntry CorrectEntryFromJson(const Json::Value& element);

CustomColour CustomColourFromJson(const Json::Value& element);
Json::Value CustomColourToJson(const CustomColour& colour);

}  // namespace qxr
