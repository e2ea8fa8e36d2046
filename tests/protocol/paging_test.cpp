// How each command splits its data into pages, where the pages go, and what reads bring back.
#include <gtest/gtest.h>

#include <atomic>

#include "tests/protocol/channel_fixture.h"

namespace qxr::testing {
namespace {

using namespace qxr::protocol;

struct PageSeen {
  uint8_t length;
  uint16_t offset;
  bool operator==(const PageSeen&) const = default;
};

std::vector<PageSeen> pages(const std::vector<Packet>& requests) {
  std::vector<PageSeen> out;
  for (const Packet& p : requests) out.push_back({p[kOffLength], report_offset(p.data())});
  return out;
}

TEST_F(ChannelTest, ZeroBytesSendNothingAndSucceed) {
  EXPECT_EQ(channel_.write_params(nullptr, 0, 0x40), kResultOk);
  EXPECT_EQ(channel_.write_macros(nullptr, 0), kResultOk);
  uint8_t none = 0;
  EXPECT_EQ(channel_.read_params(&none, 0, 0), kResultOk);
  EXPECT_TRUE(peer_.requests().empty());
}

TEST_F(ChannelTest, FiftySevenBytesGoAsFullPageThenOneByte) {
  auto data = pattern(57, 3);
  ASSERT_EQ(channel_.write_params(data.data(), data.size(), 0x100), kResultOk);
  auto sent = requests_of(CMD_WRITE_PARAMS);
  EXPECT_EQ(pages(sent), (std::vector<PageSeen>{{56, 0x100}, {1, 0x138}}));
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 56, sent[0].begin() + kOffData));
  EXPECT_EQ(sent[1][kOffData], data[56]);
  EXPECT_EQ(sent[1][kOffData + 1], 0);  // the rest of a short page stays zero
  auto& mem = firmware_->space(CMD_WRITE_PARAMS);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), mem.begin() + 0x100));
}

TEST_F(ChannelTest, ReadParamsAssemblesPagesAtTheirPositions) {
  auto data = pattern(150, 11);
  std::copy(data.begin(), data.end(), firmware_->space(CMD_READ_PARAMS).begin() + 25);
  std::vector<uint8_t> out(150, 0);
  ASSERT_EQ(channel_.read_params(out.data(), out.size(), 25), kResultOk);
  EXPECT_EQ(out, data);
  EXPECT_EQ(pages(requests_of(CMD_READ_PARAMS)), (std::vector<PageSeen>{{56, 25}, {56, 81}, {38, 137}}));
}

TEST_F(ChannelTest, RecoilGoesInFixedPagesOfFiftySix) {
  auto data = pattern(120, 5);
  ASSERT_EQ(channel_.write_recoil(data.data(), data.size()), kResultOk);
  EXPECT_EQ(pages(requests_of(CMD_WRITE_RECOIL)), (std::vector<PageSeen>{{56, 0}, {56, 56}, {8, 112}}));
  auto& mem = firmware_->space(CMD_WRITE_RECOIL);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), mem.begin()));
}

TEST_F(ChannelTest, KeyTableTransfersFollowTheDataLength) {
  ASSERT_TRUE(channel_.set_data_length(170 * 3));
  auto table = pattern(510, 9);
  ASSERT_EQ(channel_.write_keys(table.data(), 0), kResultOk);
  auto sent = pages(requests_of(CMD_WRITE_KEYS));
  ASSERT_EQ(sent.size(), 10u);
  EXPECT_EQ(sent.back(), (PageSeen{6, 504}));

  std::copy(table.begin(), table.end(), firmware_->space(CMD_READ_KEYS).begin());
  std::vector<uint8_t> back(510, 0);
  ASSERT_EQ(channel_.read_keys(back.data()), kResultOk);
  EXPECT_EQ(back, table);
}

TEST_F(ChannelTest, WriteKeysRefusesOtherTablesBeforeSending) {
  auto table = pattern(512, 1);
  EXPECT_EQ(channel_.write_keys(table.data(), 1), kResultBadTableIndex);
  EXPECT_EQ(channel_.write_keys(table.data(), -1), kResultBadTableIndex);
  EXPECT_TRUE(peer_.requests().empty());
}

TEST_F(ChannelTest, LedMapReadsAThirdOfTheDataLength) {
  ASSERT_TRUE(channel_.set_data_length(100));
  auto leds = pattern(40, 2);
  std::copy(leds.begin(), leds.end(), firmware_->space(CMD_READ_LED_MAP).begin());
  std::vector<uint8_t> out(40, 0xEE);
  ASSERT_EQ(channel_.read_led_map(out.data()), kResultOk);
  EXPECT_EQ(pages(requests_of(CMD_READ_LED_MAP)), (std::vector<PageSeen>{{33, 0}}));
  EXPECT_TRUE(std::equal(leds.begin(), leds.begin() + 33, out.begin()));
  EXPECT_EQ(out[33], 0xEE);  // nothing written past the map
}

TEST_F(ChannelTest, DataLengthAboveTheTableSizeIsRefused) {
  ASSERT_TRUE(channel_.set_data_length(300));
  EXPECT_FALSE(channel_.set_data_length(513));
  EXPECT_EQ(channel_.data_length(), 300);
  EXPECT_TRUE(channel_.set_data_length(512));
  EXPECT_EQ(channel_.data_length(), 512);
}

TEST_F(ChannelTest, KeyColoursGoToTheirSlot) {
  auto colours = pattern(60, 4);
  ASSERT_EQ(channel_.write_key_colours(colours.data(), colours.size(), 2, 512), kResultOk);
  EXPECT_EQ(pages(requests_of(CMD_WRITE_KEY_COLOURS)), (std::vector<PageSeen>{{56, 1024}, {4, 1080}}));
  auto& mem = firmware_->space(CMD_WRITE_KEY_COLOURS);
  EXPECT_TRUE(std::equal(colours.begin(), colours.end(), mem.begin() + 1024));
}

TEST_F(ChannelTest, AddressesPastSixteenBitsAreRefusedNotWrapped) {
  auto data = pattern(100, 1);
  EXPECT_EQ(channel_.write_params(data.data(), data.size(), 0xFFF0), kResultBadRequest);
  EXPECT_EQ(channel_.write_key_colours(data.data(), data.size(), 200, 512), kResultBadRequest);
  EXPECT_EQ(channel_.write_params(data.data(), 16, 0xFFF0), kResultOk);  // fits exactly
  EXPECT_EQ(requests_of(CMD_WRITE_PARAMS).size(), 1u);
  EXPECT_TRUE(requests_of(CMD_WRITE_KEY_COLOURS).empty());
}

TEST_F(ChannelTest, ReadInfoCopiesTheWholeBlock) {
  for (size_t i = 0; i < kInfoSize; ++i) firmware_->info[i] = static_cast<uint8_t>(0x30 + i);
  uint8_t info[kInfoSize] = {};
  ASSERT_EQ(channel_.read_info(info), kResultOk);
  EXPECT_TRUE(std::equal(info, info + kInfoSize, firmware_->info.begin()));
}

TEST_F(ChannelTest, ReadInfoLeavesTheBufferAloneWhenAnExchangeFails) {
  // A reply with data but a failing status, then a reply that never echoes the command.
  peer_.set_script([](const Packet& r, ScriptedPeer& p) {
    Packet reply = echo_reply(r, kStatusBusy);
    std::fill(reply.begin() + kOffData, reply.end(), 0x11);
    p.send(reply);
  });
  uint8_t info[kInfoSize];
  std::fill(std::begin(info), std::end(info), 0xAA);
  EXPECT_EQ(channel_.read_info(info), kResultStatusFE);
  for (uint8_t b : info) ASSERT_EQ(b, 0xAA);

  peer_.set_script([](const Packet& r, ScriptedPeer& p) {
    Packet reply = echo_reply(r);
    reply[kOffCommand] = CMD_READ_KEYS;
    std::fill(reply.begin() + kOffData, reply.end(), 0x22);
    p.send(reply);
    p.send(reply);
  });
  EXPECT_NE(channel_.read_info(info), kResultOk);
  for (uint8_t b : info) ASSERT_EQ(b, 0xAA);
}

TEST_F(ChannelTest, StatusReadIsOnePageAtItsAddress) {
  auto& mem = firmware_->space(CMD_READ_STATUS);
  for (size_t i = 0; i < 6; ++i) mem[3 + i] = static_cast<uint8_t>(0x50 + i);
  uint8_t status[6] = {};
  ASSERT_EQ(channel_.read_status(status, sizeof status, 3), kResultOk);
  EXPECT_EQ(pages(requests_of(CMD_READ_STATUS)), (std::vector<PageSeen>{{6, 3}}));
  EXPECT_EQ(status[0], 0x50);
  EXPECT_EQ(status[5], 0x55);

  uint8_t big[60];
  EXPECT_EQ(channel_.read_status(big, sizeof big, 0), kResultBadRequest);
  EXPECT_EQ(requests_of(CMD_READ_STATUS).size(), 1u);
}

TEST_F(ChannelTest, LinkQueryIsTrueOnlyForTheLinkedAnswer) {
  std::atomic<uint8_t> answer = kLinkUpAnswer;
  std::atomic<uint8_t> status = 0;
  peer_.set_script([&](const Packet& r, ScriptedPeer& p) {
    Packet reply = echo_reply(r, status.load());
    reply[kOffData] = answer.load();
    p.send(reply);
  });
  EXPECT_TRUE(channel_.link_up());
  answer = 0x01;
  EXPECT_FALSE(channel_.link_up());
  answer = kLinkUpAnswer;
  status = kStatusBusy;
  EXPECT_FALSE(channel_.link_up());
  status = kStatusError;
  EXPECT_FALSE(channel_.link_up());
  EXPECT_EQ(requests_of(CMD_LINK_QUERY).size(), 4u);
}

}  // namespace
}  // namespace qxr::testing
