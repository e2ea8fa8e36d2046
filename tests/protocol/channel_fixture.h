#pragma once
// A CommandChannel opened on a scripted peer that answers like a memory-backed firmware until a
// test replaces the script.
#include <gtest/gtest.h>

#include <memory>

#include "protocol/command_channel.h"
#include "tests/protocol/scripted_peer.h"

namespace qxr::testing {

class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    peer_.set_script([fw = firmware_](const Packet& r, ScriptedPeer& p) { (*fw)(r, p); });
    ASSERT_TRUE(channel_.open(peer_.path()));
  }
  // No script outlives the test: one may still be answering the last request.
  void TearDown() override { peer_.set_script(nullptr); }

  // Requests the peer received with the given command byte.
  std::vector<Packet> requests_of(uint8_t command) const {
    std::vector<Packet> out;
    for (const Packet& p : peer_.requests()) {
      if (p.size() > protocol::kOffCommand && p[protocol::kOffCommand] == command) out.push_back(p);
    }
    return out;
  }

  ScriptedPeer peer_;
  std::shared_ptr<MemoryFirmware> firmware_ = std::make_shared<MemoryFirmware>();
  protocol::CommandChannel channel_;  // last: closed before the peer goes
};

inline std::vector<uint8_t> pattern(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(seed + i * 7);
  return v;
}

}  // namespace qxr::testing
