#include "profile/mouse_profile_data.h"

#include "profile/json_access.h"
#include "profile/record_json.h"

namespace qxr {

namespace {
constexpr char kDpiStages[] = "DPIStages";
constexpr char kStageDpis[] = "StageDPIs";
constexpr char kStageActive[] = "StageActive";
constexpr char kSystemStages[] = "SystemStages";
constexpr char kReportStages[] = "ReportStages";

uint16_t word_of(const Json::Value& object, const char* key) {
  return static_cast<uint16_t>(ToInt(Member(object, key)));
}
}  // namespace

std::vector<DpiStage> CMouseProfiledata::GetDpiStages() {
  const Json::Value& stages = Member(device(), kDpiStages);
  if (stages.isObject()) active_stage_ = ToInt(Member(stages, kStageActive));
  const Json::Value& list = Member(stages, kStageDpis);
  if (list.isArray()) {
    std::size_t k = 0;
    for (const Json::Value& e : list) {
      DpiStage stage = DpiStageFromJson(e);
      if (k < dpi_cache_.size()) {
        dpi_cache_[k] = stage;
      } else {
        dpi_cache_.push_back(stage);
      }
      ++k;
    }
  }
  return dpi_cache_;
}

void CMouseProfiledata::SetDpiStages(const std::vector<DpiStage>& list) {
  dpi_cache_ = list;
  Json::ArrayIndex k = 0;
  for (const DpiStage& stage : list) {
    Json::Value& stored = WritableMember(WritableMember(device(), kDpiStages), kStageDpis);
    DpiStageToJson(stage, WritableElement(stored, k++));
  }
}

void CMouseProfiledata::SetActiveDpiStage(int index) {
  active_stage_ = index;
  WritableMember(WritableMember(device(), kDpiStages), kStageActive) = index;
}

MouseSystemStages CMouseProfiledata::GetMouseSystemStages() {
  const Json::Value& s = Member(device(), kSystemStages);
  system_cache_ = MouseSystemStages{};
  if (!s.isNull()) {
    system_cache_.double_click_time = word_of(s, "DoubleClickTime");
    system_cache_.mouse_speed = word_of(s, "MouseSpeed");
    system_cache_.pointer_precision = word_of(s, "PointerPrecision");
    system_cache_.scroll_page = word_of(s, "ScorllPage");
    system_cache_.wheel_scroll_lines = word_of(s, "WheelScorlllinse");
    system_cache_.report_rate = word_of(Member(device(), kReportStages), kStageActive);
  }
  return system_cache_;
}

void CMouseProfiledata::SetMouseSystemStages(const MouseSystemStages& stages) {
  system_cache_ = stages;
  Json::Value& s = WritableMember(device(), kSystemStages);
  WritableMember(s, "DoubleClickTime") = stages.double_click_time;
  s["MouseSpeed"] = stages.mouse_speed;
  s["PointerPrecision"] = stages.pointer_precision;
  s["ScorllPage"] = stages.scroll_page;
  s["WheelScorlllinse"] = stages.wheel_scroll_lines;
  WritableMember(WritableMember(device(), kReportStages), kStageActive) = stages.report_rate;
}

std::vector<CorrectEntry> CMouseProfiledata::GetCorrectInfo() {
  correct_cache_.clear();
  const Json::Value& list = Member(device(), "CorrectInfo");
  if (list.isArray()) {
    for (const Json::Value& e : list) correct_cache_.push_back(CorrectEntryFromJson(e));
  }
  return correct_cache_;
}

}  // namespace qxr
