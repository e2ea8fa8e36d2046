// The command channel against a device that answers with the fuzzer's bytes: replies of any
// length and report id, wrong echoes, statuses, reports of the other collections in between,
// and the device going away in the middle of a paged transfer.
//
// Input: byte 0 picks the request pattern (channel_ops.h; bit 7: receiver mode), the rest is
// the device's reply stream (ReplyStream).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "fuzz/channel_ops.h"
#include "fuzz/scratch_folder.h"

using namespace qxr::fuzz;

namespace {

std::unique_ptr<ReplyStream> g_stream;
size_t g_connections = 0;

ReplyPeer& peer() {
  static ReplyPeer p(scratch_folder(), [](const Packet& request, std::vector<Packet>* replies) {
    return g_stream->answer(request, replies);
  });
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto ops = channel_ops();
  const ChannelOp& op = ops[(data[0] & 0x7F) % ops.size()];
  // The peer reads the stream only while this input's connection is served.
  g_stream = std::make_unique<ReplyStream>(data + 1, size - 1);
  qxr::protocol::CommandChannel channel;
  if (!channel.open(peer().path())) {
    std::fprintf(stderr, "cannot open %s\n", peer().path().c_str());
    std::abort();
  }
  ++g_connections;
  channel.set_receiver_mode(data[0] & 0x80);
  (void)op.run(channel);
  channel.close();
  peer().wait_served(g_connections);
  g_stream.reset();
  return 0;
}
