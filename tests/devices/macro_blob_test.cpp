#include "devices/keyboard/macro_blob.h"

#include <gtest/gtest.h>
#include <json/reader.h>

#include "profile/macro_files.h"

namespace qxr::devices {
namespace {

Json::Value parse(const std::string& text) {
  Json::Value v;
  Json::Reader().parse(text, v);
  return v;
}

uint16_t u16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

TEST(MacroEvent, EncodesDelayTypeDirectionAndButton) {
  MacroEvent e = MacroEventFromJson(parse(R"({"Action":"down","Button":4,"Type":10,"Delay":"300"})"));
  uint8_t out[4];
  encode_macro_event(e, out);
  EXPECT_EQ(out[0], 300 & 0xFF);
  EXPECT_EQ(out[1], 300 >> 8);
  EXPECT_EQ(out[2], 10 | 0x80);
  EXPECT_EQ(out[3], 4);
  e = MacroEventFromJson(parse(R"({"Action":"up","Button":2,"Type":1,"Delay":0})"));
  encode_macro_event(e, out);
  EXPECT_EQ(out[2], 1);
  EXPECT_EQ(out[3], 2);
}

TEST(MacroEvent, HostileMembersReadSafely) {
  // Delays beyond 16 bits clamp instead of wrapping into a short delay.
  EXPECT_EQ(MacroEventFromJson(parse(R"({"Delay":"70000"})")).delay_ms, 65535);
  EXPECT_EQ(MacroEventFromJson(parse(R"({"Delay":99999999999999999999})")).delay_ms, 65535);
  EXPECT_EQ(MacroEventFromJson(parse(R"({"Delay":-5})")).delay_ms, 0);
  EXPECT_EQ(MacroEventFromJson(parse(R"({"Delay":"abc"})")).delay_ms, 0);
  EXPECT_EQ(MacroEventFromJson(parse(R"({"Delay":[1]})")).delay_ms, 0);
  MacroEvent e = MacroEventFromJson(parse(R"({"Action":7,"Button":"x","Type":{"a":1}})"));
  EXPECT_FALSE(e.down);
  EXPECT_EQ(e.button, 0);
  EXPECT_EQ(e.type, 0);
  EXPECT_EQ(MacroEventFromJson(parse("[1,2]")), MacroEvent{});
  EXPECT_TRUE(MacroEventsFromDocument(parse(R"({"Events":"none"})")).empty());
  EXPECT_EQ(MacroEventsFromDocument(parse(R"({"Events":[{},{}]})")).size(), 2u);
}

TEST(MacroBlob, LayoutHeaderOffsetsAndRecords) {
  std::vector<std::vector<MacroEvent>> macros{
      {{100, 10, true, 4}, {0, 10, false, 4}},
      {},
      {{7, 9, true, 2}},
  };
  std::vector<uint8_t> blob = build_macro_blob(macros);
  size_t total = 16 + 6 * 3 + 4 * 3;
  ASSERT_EQ(blob.size(), total);
  EXPECT_EQ(macro_blob_length(macros), total);
  EXPECT_EQ(u16(blob, 0), 0x55AA);
  EXPECT_EQ(u16(blob, 2), total);
  EXPECT_EQ(u16(blob, 4), 3);
  for (size_t i = 6; i < 16; ++i) EXPECT_EQ(blob[i], 0) << i;
  // Records follow the three offsets back to back.
  size_t r0 = u16(blob, 16), r1 = u16(blob, 18), r2 = u16(blob, 20);
  EXPECT_EQ(r0, 22u);
  EXPECT_EQ(r1, r0 + 4 + 8);
  EXPECT_EQ(r2, r1 + 4);
  EXPECT_EQ(u16(blob, r0), 2);
  EXPECT_EQ(u16(blob, r1), 0);
  EXPECT_EQ(u16(blob, r2), 1);
  EXPECT_EQ(blob[r0 + 4], 100);
  EXPECT_EQ(blob[r0 + 6], 0x8A);
  EXPECT_EQ(blob[r0 + 10], 0x0A);
  EXPECT_EQ(blob[r2 + 4], 7);
  EXPECT_EQ(blob[r2 + 6], 0x89);
  EXPECT_EQ(blob[r2 + 7], 2);
}

TEST(MacroBlob, OverflowCountsEventsBeyondCapacity) {
  EXPECT_EQ(macro_overflow_count(256, 256), 0);
  EXPECT_EQ(macro_overflow_count(257, 256), 1);
  EXPECT_EQ(macro_overflow_count(260, 256), 2);
  EXPECT_EQ(macro_overflow_count(264, 256), 3);
}

TEST(MacroBlob, RefusesAnImageBeyondSixteenBitLengths) {
  std::vector<std::vector<MacroEvent>> macros(1, std::vector<MacroEvent>(20000));
  EXPECT_TRUE(build_macro_blob(macros).empty());
}

}  // namespace
}  // namespace qxr::devices
