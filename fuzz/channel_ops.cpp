#include "fuzz/channel_ops.h"

#include <array>
#include <cstdint>

#include "protocol/command_rules.h"

namespace qxr::fuzz {
namespace {

using protocol::CommandChannel;

constexpr uint16_t kKeyboardKeyBytes = 126 * 3;
constexpr size_t kMaxPacketLength = 72;

std::vector<uint8_t> pattern(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 1);
  return v;
}

int read_info(CommandChannel& c) {
  uint8_t block[protocol::kInfoSize];
  return c.read_info(block);
}

int read_params(CommandChannel& c) {
  std::array<uint8_t, 26> block;
  return c.read_params(block.data(), block.size(), 0);
}

// The mouse's settings block spans two pages.
int read_mouse_params(CommandChannel& c) {
  std::array<uint8_t, 71> block;
  return c.read_params(block.data(), block.size(), 128);
}

int read_keys(CommandChannel& c) {
  c.set_data_length(kKeyboardKeyBytes);
  std::array<uint8_t, protocol::kMaxDataLength> table;
  return c.read_keys(table.data());
}

int read_led_map(CommandChannel& c) {
  c.set_data_length(kKeyboardKeyBytes);
  std::array<uint8_t, protocol::kMaxDataLength> map;
  return c.read_led_map(map.data());
}

int read_status(CommandChannel& c) {
  std::array<uint8_t, 8> status;
  return c.read_status(status.data(), status.size(), 0);
}

int link_up(CommandChannel& c) { return c.link_up() ? protocol::kResultOk : protocol::kResultNoReply; }

int begin_host_lighting(CommandChannel& c) {
  int r = c.begin();
  return r == protocol::kResultOk ? c.host_lighting() : r;
}

int write_params(CommandChannel& c) {
  auto data = pattern(26);
  return c.write_params(data.data(), data.size(), 25);
}

int write_keys(CommandChannel& c) {
  c.set_data_length(kKeyboardKeyBytes);
  auto data = pattern(protocol::kMaxDataLength);
  return c.write_keys(data.data(), 0);
}

int write_key_colours(CommandChannel& c) {
  auto data = pattern(kKeyboardKeyBytes);
  return c.write_key_colours(data.data(), data.size(), 1, 512);
}

int light_stream(CommandChannel& c) {
  auto data = pattern(kKeyboardKeyBytes);
  return c.light_stream(data.data(), data.size());
}

int write_macros(CommandChannel& c) {
  auto data = pattern(200);
  return c.write_macros(data.data(), data.size());
}

int write_recoil(CommandChannel& c) {
  auto data = pattern(120);
  return c.write_recoil(data.data(), data.size());
}

// The reads a keyboard makes when it connects, stopping at the first failure.
int connect_reads(CommandChannel& c) {
  for (auto op : {read_info, read_params, read_keys, read_led_map}) {
    int r = op(c);
    if (r != protocol::kResultOk) return r;
  }
  return protocol::kResultOk;
}

constexpr ChannelOp kOps[] = {
    {"read_info", read_info},
    {"read_params", read_params},
    {"read_mouse_params", read_mouse_params},
    {"read_keys", read_keys},
    {"read_led_map", read_led_map},
    {"read_status", read_status},
    {"link_up", link_up},
    {"begin_host_lighting", begin_host_lighting},
    {"write_params", write_params},
    {"write_keys", write_keys},
    {"write_key_colours", write_key_colours},
    {"light_stream", light_stream},
    {"write_macros", write_macros},
    {"write_recoil", write_recoil},
    {"connect_reads", connect_reads},
};

bool is_command_report(const Packet& p) {
  return p.size() > protocol::kOffCommand && p[protocol::kOffReportId] == protocol::kCommandReportId;
}

}  // namespace

std::span<const ChannelOp> channel_ops() { return kOps; }

bool ReplyStream::take(uint8_t* byte) {
  if (pos_ >= size_) return false;
  *byte = data_[pos_++];
  return true;
}

bool ReplyStream::answer(const Packet& request, std::vector<Packet>* replies) {
  uint8_t header = 0;
  if (!take(&header)) return false;
  for (int k = 0; k < header % 4; ++k) {
    uint8_t length = 0;
    if (!take(&length)) return false;
    const size_t n = std::min<size_t>(length % kMaxPacketLength, size_ - pos_);
    if (n == 0) continue;  // an empty packet would read as the device going away
    replies->emplace_back(data_ + pos_, data_ + pos_ + n);
    pos_ += n;
  }
  // The channel reads until a command report echoes the request (two at most), or takes the
  // first one on the quiet exchange; anything short of that would wait for its timeout.
  if (request.size() <= protocol::kOffCommand) return false;
  const uint8_t command = request[protocol::kOffCommand];
  const protocol::CommandRule* rule = protocol::find_rule(command);
  const bool quiet = rule != nullptr && rule->exchange == protocol::ExchangeKind::kQuiet;
  int reads = 0;
  for (const Packet& p : *replies) {
    if (!is_command_report(p)) continue;
    ++reads;
    if (quiet || p[protocol::kOffCommand] == command || reads == 2) return true;
  }
  return false;
}

void append_reply(const Packet& reply, std::vector<uint8_t>* stream) {
  stream->push_back(1);
  stream->push_back(static_cast<uint8_t>(reply.size()));
  stream->insert(stream->end(), reply.begin(), reply.end());
}

}  // namespace qxr::fuzz
