// The command line of qxr470.
#include <gtest/gtest.h>

#include "app/startup/app_options.h"

namespace qxr::app {
namespace {

TEST(AppOptions, CommandLines) {
  EXPECT_TRUE(parse_options({"--demo"}).demo);
  EXPECT_TRUE(parse_options({}).error.empty());
  AppOptions send = parse_options({"--send", "Game_Start", "0", "3"});
  ASSERT_TRUE(send.send.has_value());
  EXPECT_EQ(*send.send, (std::vector<std::string>{"Game_Start", "0", "3"}));
  // Everything after --send belongs to the message, even what looks like an option.
  AppOptions words = parse_options({"--send", "data", "--demo"});
  ASSERT_TRUE(words.send.has_value());
  EXPECT_FALSE(words.demo);
  EXPECT_FALSE(parse_options({"--send"}).error.empty());
  EXPECT_FALSE(parse_options({"--demo", "--send", "identity"}).error.empty());
  // Unknown options are collected, not refused: Qt's own come with two dashes too, and only
  // what Qt leaves is read for them.
  AppOptions qt = parse_options({"--platform", "offscreen", "--help"});
  EXPECT_TRUE(qt.help);
  EXPECT_TRUE(qt.error.empty());
  EXPECT_EQ(qt.unknown, (std::vector<std::string>{"--platform"}));
  EXPECT_TRUE(qt.runs_without_window());
  EXPECT_FALSE(parse_options({"--demo"}).runs_without_window());
  EXPECT_TRUE(parse_options({"--quit"}).quit);
  EXPECT_FALSE(parse_options({"--quit", "--demo"}).error.empty());
}

}  // namespace
}  // namespace qxr::app
