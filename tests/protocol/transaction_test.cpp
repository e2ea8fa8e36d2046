// The command bracket: which commands reach the device and which result the group reports
// when the opening, a step or the closing fails.
#include <gtest/gtest.h>

#include <atomic>

#include "protocol/command_transaction.h"
#include "tests/protocol/channel_fixture.h"

namespace qxr::testing {
namespace {

using namespace qxr::protocol;

class TransactionTest : public ChannelTest {
 protected:
  // The device answers every command with status 0, except the one named here with 0xFF.
  void refuse(uint8_t command) {
    peer_.set_script([command](const Packet& r, ScriptedPeer& p) {
      p.send(echo_reply(r, r[kOffCommand] == command ? kStatusError : 0));
    });
  }
  std::vector<uint8_t> commands() const {
    std::vector<uint8_t> out;
    for (const Packet& p : peer_.requests()) out.push_back(p[kOffCommand]);
    return out;
  }
  uint8_t byte_ = 0;
};

TEST_F(TransactionTest, StepsRunBetweenBeginAndEndAndTheGroupSucceeds) {
  int result = 0;
  {
    CommandTransaction tx(channel_);
    tx.run([&] { return channel_.write_params(&byte_, 1, 0); });
    result = tx.finish();
  }
  EXPECT_EQ(result, kResultOk);
  EXPECT_EQ(commands(), (std::vector<uint8_t>{CMD_BEGIN, CMD_WRITE_PARAMS, CMD_END}));
}

TEST_F(TransactionTest, ARefusedBeginSkipsTheStepsButStillEnds) {
  refuse(CMD_BEGIN);
  CommandTransaction tx(channel_);
  bool ran = false;
  tx.run([&] {
    ran = true;
    return kResultOk;
  });
  EXPECT_FALSE(ran);
  EXPECT_EQ(tx.finish(), kResultStatusFF);
  EXPECT_EQ(commands(), (std::vector<uint8_t>{CMD_BEGIN, CMD_END}));
}

TEST_F(TransactionTest, TheFirstFailingStepIsTheAnswerAndLaterStepsAreSkipped) {
  refuse(CMD_WRITE_PARAMS);
  CommandTransaction tx(channel_);
  tx.run([&] { return channel_.write_params(&byte_, 1, 0); });
  tx.run([&] { return channel_.write_keys(&byte_, 0); });
  EXPECT_EQ(tx.result(), kResultStatusFF);
  EXPECT_EQ(tx.finish(), kResultStatusFF);
  EXPECT_EQ(commands(), (std::vector<uint8_t>{CMD_BEGIN, CMD_WRITE_PARAMS, CMD_END}));
}

TEST_F(TransactionTest, ARefusedEndCountsOnlyWhenFinishedExplicitly) {
  refuse(CMD_END);
  int before_end = 0;
  {
    CommandTransaction tx(channel_);
    before_end = tx.run([&] { return channel_.write_params(&byte_, 1, 0); });
  }
  EXPECT_EQ(before_end, kResultOk);
  EXPECT_EQ(commands().back(), CMD_END);
  peer_.clear_requests();
  {
    CommandTransaction tx(channel_);
    EXPECT_EQ(tx.finish(), kResultStatusFF);
  }
  // Finished once: going out of scope sends no second end.
  EXPECT_EQ(commands(), (std::vector<uint8_t>{CMD_BEGIN, CMD_END}));
}

TEST_F(TransactionTest, AFailureBetweenCommandsIsKeptAndTheBracketCloses) {
  {
    CommandTransaction tx(channel_);
    EXPECT_EQ(tx.fail(kResultBadRequest), kResultBadRequest);
    EXPECT_EQ(tx.run([] { return kResultOk; }), kResultBadRequest);
  }
  EXPECT_EQ(commands(), (std::vector<uint8_t>{CMD_BEGIN, CMD_END}));
}

TEST_F(TransactionTest, AnAbandonedGroupSendsNoEnd) {
  {
    CommandTransaction tx(channel_);
    EXPECT_EQ(tx.abandon(kResultNoReply), kResultNoReply);
  }
  EXPECT_EQ(commands(), (std::vector<uint8_t>{CMD_BEGIN}));
}

TEST_F(TransactionTest, ChannelOpenAndCloseFollowTheNode) {
  channel_.close();
  EXPECT_FALSE(channel_.opened());
  EXPECT_EQ(channel_.begin(), kResultNoReply);
  EXPECT_FALSE(channel_.open(peer_.folder() + "/missing.sock"));
  EXPECT_FALSE(channel_.opened());
  ASSERT_TRUE(channel_.open(peer_.path()));
  EXPECT_EQ(channel_.begin(), kResultOk);
}

}  // namespace
}  // namespace qxr::testing
