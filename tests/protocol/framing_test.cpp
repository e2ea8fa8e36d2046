// Framing, checksum, padding and the hex dump of the logged exchange.
#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>

#include "core/debug_line.h"
#include "protocol/command_rules.h"
#include "protocol/report_dump.h"
#include "tests/protocol/channel_fixture.h"

namespace qxr::testing {
namespace {

using namespace qxr::protocol;

// The checksum as the device checks it, computed independently of the code under test.
uint16_t sum_of_body(const Packet& p) {
  return static_cast<uint16_t>(std::accumulate(p.begin() + kOffCommand, p.end(), 0u));
}

TEST_F(ChannelTest, BeginIsSentAsTheKnownFrame) {
  ASSERT_EQ(channel_.begin(), kResultOk);
  ASSERT_EQ(peer_.requests().size(), 1u);
  Packet expected(kReportSize, 0);
  expected[0] = 0x04;
  expected[1] = 0x01;
  expected[2] = 0x00;
  expected[3] = 0x01;
  EXPECT_EQ(peer_.requests()[0], expected);
}

TEST_F(ChannelTest, EveryPageCarriesTheSumOfBytes3To63LowByteFirst) {
  // Bytes chosen so the sum needs the high byte.
  std::vector<uint8_t> data(130, 0xF7);
  ASSERT_EQ(channel_.write_params(data.data(), data.size(), 0x0203), kResultOk);
  auto pages = requests_of(CMD_WRITE_PARAMS);
  ASSERT_EQ(pages.size(), 3u);
  for (const Packet& p : pages) {
    ASSERT_EQ(p.size(), kReportSize);
    uint16_t sum = sum_of_body(p);
    EXPECT_GT(sum, 0xFF);
    EXPECT_EQ(p[1], sum & 0xFF);
    EXPECT_EQ(p[2], sum >> 8);
  }
}

TEST_F(ChannelTest, ShortRequestIsZeroPaddedAndLongOneCut) {
  std::vector<uint8_t> shorter = {kCommandReportId, 0, 0, CMD_BEGIN, 9, 8, 7};
  uint8_t reply[kReportSize];
  size_t n = 0;
  ASSERT_EQ(channel_.exchange(shorter.data(), shorter.size(), reply, sizeof reply, &n), kResultOk);
  EXPECT_EQ(n, kReportSize);
  Packet expected(kReportSize, 0);
  std::copy(shorter.begin(), shorter.end(), expected.begin());
  EXPECT_EQ(peer_.requests().back(), expected);

  std::vector<uint8_t> longer(100);
  std::iota(longer.begin(), longer.end(), 0);
  longer[0] = kCommandReportId;
  longer[kOffCommand] = CMD_HOST_LIGHTING;
  ASSERT_EQ(channel_.exchange(longer.data(), longer.size(), reply, sizeof reply, &n), kResultOk);
  EXPECT_EQ(peer_.requests().back(), Packet(longer.begin(), longer.begin() + kReportSize));
}

TEST(ReportDump, LineMatchesTheTraditionalFormat) {
  uint8_t bytes[kDumpLineBytes];
  for (size_t i = 0; i < kDumpLineBytes; ++i) bytes[i] = static_cast<uint8_t>(i * 9 + 0xA0);
  char expected[256];
  std::snprintf(expected, sizeof expected,
                "%02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x  "
                "%02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x",
                bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
                bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15], bytes[16],
                bytes[17], bytes[18], bytes[19], bytes[20], bytes[21], bytes[22], bytes[23], bytes[24],
                bytes[25], bytes[26], bytes[27], bytes[28], bytes[29], bytes[30], bytes[31]);
  EXPECT_EQ(format_dump_line(bytes), expected);
}

TEST_F(ChannelTest, LoggedExchangeDumpsRequestAndReplyInTwoLinesEach) {
  firmware_->space(CMD_READ_PARAMS)[0x10] = 0xAB;
  DebugCapture capture;
  uint8_t out = 0;
  ASSERT_EQ(channel_.read_params(&out, 1, 0x10), kResultOk);
  auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], kRequestLine);
  EXPECT_EQ(lines[1].substr(0, 25), "04 16 00 05   01 10 00 00");
  EXPECT_EQ(lines[2], format_dump_line(peer_.requests()[0].data() + kDumpLineBytes));
  EXPECT_EQ(lines[3], kReplyLine);
  EXPECT_EQ(lines[4].substr(0, 36), "04 00 00 05   01 10 00 00   ab 00 00");
  EXPECT_EQ(out, 0xAB);
}

TEST_F(ChannelTest, LightStreamIsNotLogged) {
  DebugCapture capture;
  auto frame = pattern(112, 1);
  ASSERT_EQ(channel_.light_stream(frame.data(), frame.size()), kResultOk);
  EXPECT_EQ(requests_of(CMD_LIGHT_STREAM).size(), 2u);
  EXPECT_TRUE(capture.lines().empty());
}

TEST(CommandRules, EveryCommandCodeHasExactlyOneRule) {
  const uint8_t codes[] = {CMD_BEGIN, CMD_END, CMD_READ_INFO, CMD_READ_PARAMS, CMD_WRITE_PARAMS,
                           CMD_READ_KEYS, CMD_WRITE_KEYS, CMD_WRITE_KEY_COLOURS, CMD_LIGHT_STREAM,
                           CMD_WRITE_MACROS, CMD_WRITE_RECOIL, CMD_READ_STATUS, CMD_READ_LED_MAP,
                           CMD_HOST_LIGHTING, CMD_LINK_QUERY};
  EXPECT_EQ(std::size(kCommandRules), std::size(codes));
  for (uint8_t c : codes) EXPECT_NE(find_rule(c), nullptr) << int(c);
  EXPECT_EQ(find_rule(0x04), nullptr);
}

}  // namespace
}  // namespace qxr::testing
