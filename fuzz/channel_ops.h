#pragma once
// What the program asks of a device's command channel, one row per request pattern: the
// connect-time reads, the settings writes, the paged images and the light stream. The command
// channel's fuzz target and its seed writer pick rows by index.
#include <cstddef>
#include <span>
#include <vector>

#include "fuzz/reply_peer.h"
#include "protocol/command_channel.h"

namespace qxr::fuzz {

struct ChannelOp {
  const char* name;
  int (*run)(protocol::CommandChannel& channel);
};

std::span<const ChannelOp> channel_ops();

// The fuzzed device: each request takes one header byte h from the stream and answers with
// h % 4 packets, each a length byte (mod 72; 0 sends nothing) and that many bytes. When the
// stream runs out, or the channel would still be waiting for its reply after the packets,
// the device goes away, so no input ever waits out a timeout.
class ReplyStream {
 public:
  ReplyStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool answer(const Packet& request, std::vector<Packet>* replies);

 private:
  bool take(uint8_t* byte);
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// The stream bytes that give exactly these replies, one per request.
void append_reply(const Packet& reply, std::vector<uint8_t>* stream);

}  // namespace qxr::fuzz
