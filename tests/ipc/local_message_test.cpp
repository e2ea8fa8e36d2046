#include <gtest/gtest.h>

#include "ipc/identity.h"
#include "ipc/local_message.h"

namespace qxr::ipc {
namespace {

TEST(LocalMessage, EveryKindSurvivesFormatAndParse) {
  const LocalMessage messages[] = {
      {MessageKind::Identity, 0, 1, {}},        {MessageKind::Forward, 7, -3, {}},
      {MessageKind::LightAnnounce, 1, 0, {}},   {MessageKind::LightControl, 1, 1, {}},
      {MessageKind::MainAction, 2, 0, {}},      {MessageKind::GameStart, 0, 5, {}},
      {MessageKind::GameEnd, 1, 2, {}},         {MessageKind::GameKill, 2, 255, {}},
      {MessageKind::GameDeath, 0, 0, {}},       {MessageKind::Data, 2, 0, {0x00, 0xFF, 0x10}},
      {MessageKind::Data, 1, 0, {}},            {MessageKind::Data, 1, 0, {1}},
      {MessageKind::Data, 1, 0, {1, 2}},      {MessageKind::Quit, 0, 0, {}},
      {MessageKind::DeviceTable, 0, 0, {}},
  };
  for (const LocalMessage& m : messages) {
    const std::string line = format_message(m);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.back(), '\n');
    std::optional<LocalMessage> back = parse_message(line);
    ASSERT_TRUE(back.has_value()) << line;
    EXPECT_EQ(*back, m) << line;
  }
}

TEST(LocalMessage, NamesAndTheirIdentitiesAreBothAccepted) {
  EXPECT_EQ(message_kind("light-control"), MessageKind::LightControl);
  EXPECT_EQ(message_kind(kLightControlMsgId), MessageKind::LightControl);
  EXPECT_EQ(message_kind(kForwardMsgId), MessageKind::Forward);
  EXPECT_EQ(message_kind(kMainActionMsgId), MessageKind::MainAction);
  EXPECT_EQ(message_kind("Game_Death"), MessageKind::GameDeath);
  // Game event names are the programs' own spelling: other cases are other names.
  EXPECT_FALSE(message_kind("game_start").has_value());
  // The recorder's command message goes out only; it is not something others send us.
  EXPECT_FALSE(message_kind(kRecorderCmdMsgId).has_value());
}

TEST(LocalMessage, TheIdentityLineAloneAsksForTheWindow) {
  auto m = parse_message(std::string(kAppIdentity) + "\n");
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->kind, MessageKind::Identity);
  EXPECT_EQ(m->lparam, 1);
  auto bare = parse_message("identity");
  ASSERT_TRUE(bare.has_value());
  EXPECT_EQ(bare->lparam, 1);
}

TEST(LocalMessage, RequestsWithoutParametersAreTheNameAlone) {
  EXPECT_EQ(format_message({MessageKind::Quit, 0, 0, {}}), "quit\n");
  EXPECT_EQ(format_message({MessageKind::DeviceTable, 0, 0, {}}), "device-table\n");
  EXPECT_FALSE(parse_message("quit 1").has_value());
  EXPECT_FALSE(parse_message("device-table 0 0").has_value());
  EXPECT_EQ(message_from_args({"quit"}), (LocalMessage{MessageKind::Quit, 0, 0, {}}));
}

TEST(LocalMessage, ParametersMayBeHexadecimalOrNegativeAndCarriageReturnsAreDropped) {
  auto m = parse_message("Game_Start 0x2 -1\r\n");
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->wparam, 2);
  EXPECT_EQ(m->lparam, -1);
}

TEST(LocalMessage, MalformedLinesAreRefused) {
  const char* bad[] = {"",
                       "nothing 1 2",
                       "Game_Start 1 2 3",
                       "Game_Start x",
                       "Game_Start 0x",
                       "light-control 1 1z",
                       "data",
                       "data 1 abc",        // not a multiple of four
                       "data 1 ab=c",       // padding inside
                       "data 1 a===",       // too much padding
                       "data 1 ab*c",       // not base64
                       "data x AAAA",
                       // one sign only: the second used to be read by the number parser,
                       // and negating its smallest value overflowed
                       "Game_Start --5 1",
                       "Game_Start 0x-5 1",
                       "Game_Start --9223372036854775808 1",
                       "Game_Start -0x-8000000000000000 1",
                       "data -+1"};
  for (const char* line : bad) EXPECT_FALSE(parse_message(line).has_value()) << line;
}

TEST(LocalMessage, NumbersReachTheLimitsOfTheirType) {
  auto m = parse_message("forward -9223372036854775807 0x7fffffffffffffff");
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->wparam, -9223372036854775807LL);
  EXPECT_EQ(m->lparam, 9223372036854775807LL);
  EXPECT_FALSE(parse_message("forward 9223372036854775808 0").has_value());
}

TEST(LocalMessage, OverlongLinesAreRefused) {
  std::string line = "data 1 " + std::string(kMaxMessageLine, 'A');
  EXPECT_FALSE(parse_message(line).has_value());
}

TEST(LocalMessage, CommandLineWordsMakeTheSameMessages) {
  auto m = message_from_args({"light-control", "1", "0"});
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->kind, MessageKind::LightControl);
  EXPECT_EQ(m->wparam, 1);
  EXPECT_EQ(m->lparam, 0);
  EXPECT_FALSE(message_from_args({"light-control", "one"}).has_value());
  EXPECT_FALSE(message_from_args({}).has_value());
}

}  // namespace
}  // namespace qxr::ipc
