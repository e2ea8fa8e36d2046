// The command set: single reports and paged transfers over the channel's exchanges.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "core/debug_line.h"
#include "protocol/command_channel.h"
#include "protocol/command_rules.h"

namespace qxr::protocol {

namespace {
constexpr uint32_t kMaxOffset = 0xFFFF;
}  // namespace

struct CommandChannel::PageJob {
  uint8_t command = 0;
  const uint8_t* data = nullptr;  // write commands: the bytes to send
  uint8_t* out = nullptr;         // read commands: where reply data goes, page by page
  size_t total = 0;
  uint32_t base = 0;
};

int CommandChannel::send_page(const CommandRule& rule, CommandReport& request, CommandReport& reply) {
  set_checksum(request.data());
  reply.fill(0);
  std::unique_lock<std::mutex> guard;
  if (rule.lock == ChannelLock::kCommand) guard = std::unique_lock(command_lock_);
  if (rule.lock == ChannelLock::kLighting) guard = std::unique_lock(lighting_lock_);
  size_t n = 0;
  int result = rule.exchange == ExchangeKind::kQuiet
                   ? exchange_quiet(request.data(), request.size(), reply.data(), reply.size(), &n)
                   : exchange(request.data(), request.size(), reply.data(), reply.size(), &n);
  return complete_command(result, reply.data());
}

int CommandChannel::single(uint8_t command, CommandReport* reply_out) {
  const CommandRule* rule = find_rule(command);
  CommandReport request = make_request(command);
  CommandReport reply{};
  int result = send_page(*rule, request, reply);
  if (reply_out != nullptr) *reply_out = reply;
  return result;
}

int CommandChannel::run_paged(const PageJob& job) {
  const CommandRule* rule = find_rule(job.command);
  if (job.total == 0) return kResultOk;
  if ((job.data == nullptr && job.out == nullptr) || job.base + job.total - 1 > kMaxOffset) {
    return kResultBadRequest;
  }
  const size_t page = rule->paging == Paging::kFixedPage ? kRecoilPageSize : page_size_;
  const bool streaming = job.command == CMD_LIGHT_STREAM;
  CommandReport reply{};
  for (size_t pos = 0; pos < job.total; pos += page) {
    const size_t length = std::min(page, job.total - pos);
    if (streaming) {
      // Lighting never queues behind a logged exchange: the page is dropped and counts as sent.
      if (busy()) {
        debug_line(kDroppedLightLine);
        continue;
      }
      if (receiver_mode()) continue;
    }
    CommandReport request = make_request(job.command, static_cast<uint8_t>(length),
                                         static_cast<uint16_t>(job.base + pos));
    if (job.data != nullptr) std::memcpy(request.data() + kOffData, job.data + pos, length);
    int result = send_page(*rule, request, reply);
    if (result != kResultOk) return result;
    if (job.out != nullptr) std::memcpy(job.out + pos, reply.data() + kOffData, length);
  }
  return kResultOk;
}

int CommandChannel::begin() { return single(CMD_BEGIN, nullptr); }

int CommandChannel::end() {
  std::this_thread::sleep_for(std::chrono::milliseconds(kEndPauseMs));
  return single(CMD_END, nullptr);
}

int CommandChannel::host_lighting() { return single(CMD_HOST_LIGHTING, nullptr); }

bool CommandChannel::link_up() {
  CommandReport reply{};
  return single(CMD_LINK_QUERY, &reply) == kResultOk && reply[kOffData] == kLinkUpAnswer;
}

int CommandChannel::read_info(uint8_t* out) {
  if (out == nullptr) return kResultBadRequest;
  uint8_t block[kInfoSize] = {};
  int result = run_paged({CMD_READ_INFO, nullptr, block, kInfoSize, 0});
  if (result == kResultOk) std::memcpy(out, block, kInfoSize);
  return result;
}

int CommandChannel::read_params(uint8_t* out, size_t length, uint16_t base) {
  return run_paged({CMD_READ_PARAMS, nullptr, out, length, base});
}

int CommandChannel::write_params(const uint8_t* data, size_t length, uint16_t base) {
  return run_paged({CMD_WRITE_PARAMS, data, nullptr, length, base});
}

int CommandChannel::read_keys(uint8_t* out) {
  return run_paged({CMD_READ_KEYS, nullptr, out, data_length(), 0});
}

int CommandChannel::write_keys(const uint8_t* data, int table_index) {
  if (table_index != 0) return kResultBadTableIndex;
  return run_paged({CMD_WRITE_KEYS, data, nullptr, data_length(),
                    static_cast<uint32_t>(table_index) * kKeyTableStride});
}

int CommandChannel::read_led_map(uint8_t* out) {
  return run_paged({CMD_READ_LED_MAP, nullptr, out, data_length() / kLedMapDivisor, 0});
}

int CommandChannel::write_key_colours(const uint8_t* data, size_t length, uint32_t slot,
                                      uint32_t slot_size) {
  const uint64_t base = static_cast<uint64_t>(slot) * slot_size;
  if (base > kMaxOffset) return length == 0 ? kResultOk : kResultBadRequest;
  return run_paged({CMD_WRITE_KEY_COLOURS, data, nullptr, length, static_cast<uint32_t>(base)});
}

int CommandChannel::light_stream(const uint8_t* data, size_t length) {
  return run_paged({CMD_LIGHT_STREAM, data, nullptr, length, 0});
}

int CommandChannel::write_macros(const uint8_t* data, size_t length) {
  return run_paged({CMD_WRITE_MACROS, data, nullptr, length, 0});
}

int CommandChannel::write_recoil(const uint8_t* data, size_t length) {
  return run_paged({CMD_WRITE_RECOIL, data, nullptr, length, 0});
}

int CommandChannel::read_status(uint8_t* out, size_t length, uint16_t address) {
  if (length > kPageSize || (out == nullptr && length > 0)) return kResultBadRequest;
  const CommandRule* rule = find_rule(CMD_READ_STATUS);
  CommandReport request = make_request(CMD_READ_STATUS, static_cast<uint8_t>(length), address);
  CommandReport reply{};
  int result = send_page(*rule, request, reply);
  if (result == kResultOk && length > 0) std::memcpy(out, reply.data() + kOffData, length);
  return result;
}

}  // namespace qxr::protocol
