#include "emulator/faults.h"

#include "protocol/command_report.h"

namespace qxr::emu {

namespace {
struct FaultName {
  FaultMode mode;
  std::string_view name;
};
constexpr FaultName kFaultNames[] = {
    {FaultMode::kNone, "none"},
    {FaultMode::kNoReply, "no-reply"},
    {FaultMode::kLateReply, "late"},
    {FaultMode::kWrongEcho, "wrong-echo"},
    {FaultMode::kWrongEchoOnce, "wrong-echo-once"},
    {FaultMode::kStatusFF, "status-ff"},
    {FaultMode::kStatusFE, "status-fe"},
    {FaultMode::kUnplugAfter, "unplug-after"},
    {FaultMode::kStale, "stale"},
};
}  // namespace

std::string_view fault_mode_name(FaultMode mode) {
  for (const FaultName& row : kFaultNames) {
    if (row.mode == mode) return row.name;
  }
  return "?";
}

std::optional<FaultMode> parse_fault_mode(std::string_view name) {
  for (const FaultName& row : kFaultNames) {
    if (row.name == name) return row.mode;
  }
  return std::nullopt;
}

void FaultState::set(FaultMode mode, uint32_t arg) {
  switch (mode) {
    case FaultMode::kNone: clear(); break;
    case FaultMode::kNoReply: no_reply_ = count_of(arg); break;
    case FaultMode::kLateReply: delay_ms_ = arg; break;
    case FaultMode::kWrongEcho: wrong_echo_ = count_of(arg); break;
    case FaultMode::kWrongEchoOnce: wrong_echo_ = 1; break;
    case FaultMode::kStatusFF: status_ff_ = count_of(arg); break;
    case FaultMode::kStatusFE: status_fe_ = count_of(arg); break;
    case FaultMode::kUnplugAfter: unplug_after_ = int64_t{arg}; break;
    case FaultMode::kStale: stale_ = count_of(arg); break;
  }
}

bool FaultState::any() const {
  return no_reply_ != 0 || wrong_echo_ != 0 || status_ff_ != 0 || status_fe_ != 0 ||
         stale_ != 0 || delay_ms_ != 0 || unplug_after_ >= 0;
}

bool FaultState::take(int64_t& remaining) {
  if (remaining == 0) return false;
  if (remaining > 0) --remaining;
  return true;
}

FaultPlan FaultState::next() {
  FaultPlan plan;
  if (unplug_after_ == 0) {
    unplug_after_ = -1;
    plan.unplug_now = true;
    return plan;
  }
  if (unplug_after_ > 0 && --unplug_after_ == 0) {
    unplug_after_ = -1;
    plan.unplug_after = true;
  }
  if (take(no_reply_)) {
    plan.drop = true;
    return plan;
  }
  if (take(status_ff_)) {
    plan.status = protocol::kStatusError;
  } else if (take(status_fe_)) {
    plan.status = protocol::kStatusBusy;
  }
  plan.wrong_echo = take(wrong_echo_);
  plan.stale_first = take(stale_);
  plan.delay_ms = delay_ms_;
  return plan;
}

}  // namespace qxr::emu
