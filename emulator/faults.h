#pragma once
// Faults a device can be told to show on its command exchanges. Several can be armed at once;
// each request consumes what applies to it.
#include <cstdint>
#include <optional>
#include <string_view>

namespace qxr::emu {

enum class FaultMode {
  kNone,           // clears every fault
  kNoReply,        // arg requests (0: all) are swallowed: not executed, not answered
  kLateReply,      // every reply goes out arg ms late
  kWrongEcho,      // arg replies (0: all) echo another command byte
  kWrongEchoOnce,  // the next reply echoes another command byte
  kStatusFF,       // arg requests (0: all) are refused with status 0xFF, not executed
  kStatusFE,       // arg requests (0: all) are answered busy (0xFE), not executed
  kUnplugAfter,    // the device unplugs after answering arg more requests (0: at the next one,
                   // which is then neither executed nor answered)
  kStale,          // arg replies (0: all) are preceded by a stale input report
};

// "none", "no-reply", "late", "wrong-echo", "wrong-echo-once", "status-ff", "status-fe",
// "unplug-after", "stale".
std::string_view fault_mode_name(FaultMode mode);
std::optional<FaultMode> parse_fault_mode(std::string_view name);

// What the next request gets.
struct FaultPlan {
  bool unplug_now = false;    // unplug without executing or answering
  bool drop = false;          // neither execute nor answer
  uint8_t status = 0;         // non-zero: answer with this status, do not execute
  bool wrong_echo = false;
  bool stale_first = false;
  uint32_t delay_ms = 0;
  bool unplug_after = false;  // unplug once the reply is out
};

class FaultState {
 public:
  void set(FaultMode mode, uint32_t arg);
  void clear() { *this = FaultState{}; }
  bool any() const;
  FaultPlan next();

 private:
  // Remaining count of a counted fault: 0 off, kAlways on until cleared.
  static constexpr int64_t kAlways = -1;
  static bool take(int64_t& remaining);
  static int64_t count_of(uint32_t arg) { return arg == 0 ? kAlways : int64_t{arg}; }

  int64_t no_reply_ = 0;
  int64_t wrong_echo_ = 0;
  int64_t status_ff_ = 0;
  int64_t status_fe_ = 0;
  int64_t stale_ = 0;
  uint32_t delay_ms_ = 0;
  int64_t unplug_after_ = -1;  // -1 disarmed, else requests still answered before the unplug
};

}  // namespace qxr::emu
