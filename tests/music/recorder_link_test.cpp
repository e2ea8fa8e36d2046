// The data blocks the program keeps and the lines between the program and the recorder.
#include <gtest/gtest.h>

#include <vector>

#include "music/exchange_buffers.h"
#include "music/recorder_link.h"

namespace qxr::music {
namespace {

std::vector<uint8_t> le32(std::initializer_list<int32_t> values) {
  std::vector<uint8_t> out;
  for (int32_t v : values)
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * b)));
  return out;
}

TEST(ExchangeBuffers, OnlyBlocksOneAndTwoAreKeptAndNeverBeyondTheirBuffer) {
  ExchangeBuffers buffers;
  const std::vector<uint8_t> bytes(5000, 0x11);
  EXPECT_FALSE(buffers.store(3, bytes).has_value());
  EXPECT_FALSE(buffers.store(0, bytes).has_value());
  EXPECT_FALSE(buffers.store(-1, bytes).has_value());
  EXPECT_FALSE(buffers.store(1, {}).has_value());  // empty blocks change nothing
  EXPECT_EQ(buffers.store(1, bytes), 1);
  EXPECT_EQ(buffers.samples()[kSampleCount - 1], 0x11111111);
  EXPECT_EQ(buffers.store(2, bytes), 2);
  EXPECT_EQ(buffers.levels()[5], 0x11);
}

TEST(ExchangeBuffers, AShortBlockOverwritesOnlyItsOwnLengthAndSamplesAreLittleEndian) {
  ExchangeBuffers buffers;
  buffers.store(1, std::vector<uint8_t>(kSpectrumBlockBytes, 0));
  buffers.store(1, le32({-2, 70000}));
  const SampleFrame s = buffers.samples();
  EXPECT_EQ(s[0], -2);
  EXPECT_EQ(s[1], 70000);
  EXPECT_EQ(s[2], 0);
  buffers.store(2, std::vector<uint8_t>{9, 8});
  EXPECT_EQ(buffers.levels()[0], 9);
  EXPECT_EQ(buffers.levels()[2], 0);
}

TEST(ColourBlock, GreenZeroTravelsAsOneAndTheRestAsGiven) {
  const auto block = colour_block({0, 0, 0});
  EXPECT_EQ(block.size(), 40u);
  EXPECT_EQ(colour_from_block(block), (StyleColour{0, 1, 0}));
  EXPECT_EQ(colour_from_block(colour_block({9, 4, 7})), (StyleColour{9, 4, 7}));
  for (size_t i = 12; i < block.size(); ++i) EXPECT_EQ(block[i], 0) << i;
}

TEST(RecorderLines, TheRecorderUnderstandsCommandsAndColourAndNothingElse) {
  auto start = parse_request("recorder-cmd 1 0\n");
  ASSERT_TRUE(start);
  EXPECT_EQ(start->command, RecorderCommand::Start);
  auto attach = parse_request(std::string(kRecorderCmdAlias) + " 0 4242\r\n");
  ASSERT_TRUE(attach);
  EXPECT_EQ(attach->command, RecorderCommand::Attach);
  EXPECT_EQ(attach->value, 4242);
  const auto block = colour_block({3, 0, 5});
  auto colour = parse_request(data_line(kColourBlock, block));
  ASSERT_TRUE(colour);
  EXPECT_EQ(colour->kind, RecorderRequest::Kind::Colour);
  EXPECT_EQ(colour->colour, (StyleColour{3, 1, 5}));
  for (const char* other : {"light-announce 1 1", "recorder-cmd 6 0", "recorder-cmd", "recorder-cmd x",
                            "data 1 AAAA", "data 10", "data 10 !!!!", ""}) {
    EXPECT_FALSE(parse_request(other).has_value()) << other;
  }
}

TEST(RecorderLines, StatesOutsideTheKnownOnesAreRefused) {
  EXPECT_EQ(recorder_state_from(0), RecorderState::Capturing);
  EXPECT_EQ(recorder_state_from(3), RecorderState::NoOutput);
  EXPECT_FALSE(recorder_state_from(4).has_value());
  EXPECT_FALSE(recorder_state_from(-1).has_value());
  EXPECT_EQ(state_line(RecorderState::NoSoundServer), "recorder-state 2\n");
  EXPECT_EQ(ready_line(17), "recorder-ready 17\n");
  EXPECT_EQ(data_line(2, std::vector<uint8_t>{}), "data 2\n");
}

}  // namespace
}  // namespace qxr::music
