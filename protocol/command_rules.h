#pragma once
// Per-command rules of the command set: which channel lock guards each exchange, how the data
// is paged, and which exchange carries it. Locks are taken per page, never per command.
#include <cstdint>

#include "protocol/command_report.h"

namespace qxr::protocol {

enum class ChannelLock : uint8_t { kCommand, kLighting, kNone };
enum class Paging : uint8_t {
  kSingle,       // one report
  kChannelPage,  // pages of the channel's page size
  kFixedPage,    // pages of kRecoilPageSize whatever the channel's page size
};
enum class ExchangeKind : uint8_t { kLogged, kQuiet };

struct CommandRule {
  uint8_t code;
  ChannelLock lock;
  Paging paging;
  ExchangeKind exchange;
};

inline constexpr CommandRule kCommandRules[] = {
    {CMD_BEGIN, ChannelLock::kCommand, Paging::kSingle, ExchangeKind::kLogged},
    {CMD_END, ChannelLock::kCommand, Paging::kSingle, ExchangeKind::kLogged},
    {CMD_READ_INFO, ChannelLock::kCommand, Paging::kChannelPage, ExchangeKind::kLogged},
    {CMD_READ_PARAMS, ChannelLock::kCommand, Paging::kChannelPage, ExchangeKind::kLogged},
    {CMD_WRITE_PARAMS, ChannelLock::kCommand, Paging::kChannelPage, ExchangeKind::kLogged},
    {CMD_READ_KEYS, ChannelLock::kCommand, Paging::kChannelPage, ExchangeKind::kLogged},
    {CMD_WRITE_KEYS, ChannelLock::kCommand, Paging::kChannelPage, ExchangeKind::kLogged},
    {CMD_WRITE_KEY_COLOURS, ChannelLock::kLighting, Paging::kChannelPage, ExchangeKind::kLogged},
    {CMD_LIGHT_STREAM, ChannelLock::kLighting, Paging::kChannelPage, ExchangeKind::kQuiet},
    {CMD_WRITE_MACROS, ChannelLock::kCommand, Paging::kChannelPage, ExchangeKind::kLogged},
    {CMD_WRITE_RECOIL, ChannelLock::kNone, Paging::kFixedPage, ExchangeKind::kLogged},
    {CMD_READ_STATUS, ChannelLock::kCommand, Paging::kSingle, ExchangeKind::kLogged},
    {CMD_READ_LED_MAP, ChannelLock::kCommand, Paging::kChannelPage, ExchangeKind::kLogged},
    {CMD_HOST_LIGHTING, ChannelLock::kCommand, Paging::kSingle, ExchangeKind::kLogged},
    {CMD_LINK_QUERY, ChannelLock::kCommand, Paging::kSingle, ExchangeKind::kLogged},
};

// nullptr for a code the program never sends.
constexpr const CommandRule* find_rule(uint8_t code) {
  for (const CommandRule& r : kCommandRules) {
    if (r.code == code) return &r;
  }
  return nullptr;
}

}  // namespace qxr::protocol
