// qxr470ctl: argument parsing, the information-block decoding, and the commands run against an
// emulated keyboard interface with its real report descriptor.
#include <gtest/gtest.h>

#include <cerrno>
#include <map>

#include "emulator/report_descriptors.h"
#include "hid/enumeration.h"
#include "protocol/command_channel.h"
#include "tests/protocol/scripted_peer.h"
#include "tools/qxr470ctl/args.h"
#include "tools/qxr470ctl/ctl_commands.h"
#include "tools/qxr470ctl/info_fields.h"
#include "tools/qxr470ctl/interface_scan.h"

namespace qxr::testing {
namespace {

using namespace qxr::ctl;
using namespace qxr::protocol;

TEST(CtlArgs, NumbersAreDecimalOrHexWithinTheirLimit) {
  uint32_t v = 0;
  EXPECT_TRUE(parse_number("25", 0xFFFF, &v));
  EXPECT_EQ(v, 25u);
  EXPECT_TRUE(parse_number("0x1F4", 0xFFFF, &v));
  EXPECT_EQ(v, 500u);
  EXPECT_FALSE(parse_number("0x10000", 0xFFFF, &v));
  EXPECT_FALSE(parse_number("-1", 0xFFFF, &v));
  EXPECT_FALSE(parse_number("12abc", 0xFFFF, &v));
  EXPECT_FALSE(parse_number("0x", 0xFFFF, &v));
  EXPECT_FALSE(parse_number("", 0xFFFF, &v));
  EXPECT_FALSE(parse_number("99999999999999999999", 0xFFFFFFFF, &v));
}

TEST(CtlArgs, HexDataWithAndWithoutSeparators) {
  std::vector<uint8_t> d;
  ASSERT_TRUE(parse_hex_data("01 1a FF", &d));
  EXPECT_EQ(d, (std::vector<uint8_t>{0x01, 0x1A, 0xFF}));
  ASSERT_TRUE(parse_hex_data("011aff", &d));
  EXPECT_EQ(d, (std::vector<uint8_t>{0x01, 0x1A, 0xFF}));
  ASSERT_TRUE(parse_hex_data("01:1a-ff", &d));
  EXPECT_EQ(d.size(), 3u);
  EXPECT_FALSE(parse_hex_data("1 1a", &d));  // a lone digit is not a byte
  EXPECT_FALSE(parse_hex_data("011", &d));
  EXPECT_FALSE(parse_hex_data("0g", &d));
  ASSERT_TRUE(parse_hex_data("", &d));
  EXPECT_TRUE(d.empty());
}

TEST(CtlArgs, CommandsByNumberOrName) {
  uint8_t c = 0;
  ASSERT_TRUE(parse_command("0x05", &c));
  EXPECT_EQ(c, CMD_READ_PARAMS);
  ASSERT_TRUE(parse_command("CMD_LINK_QUERY", &c));
  EXPECT_EQ(c, CMD_LINK_QUERY);
  ASSERT_TRUE(parse_command("write_key_colours", &c));
  EXPECT_EQ(c, CMD_WRITE_KEY_COLOURS);
  EXPECT_FALSE(parse_command("0x100", &c));
  EXPECT_FALSE(parse_command("reboot", &c));
}

TEST(CtlArgs, OptionsAnywhereAndCommandOperandsInOrder) {
  const char* argv[] = {"qxr470ctl", "--json", "read-params", "--emulator", "/tmp/x", "keyboard", "0", "26"};
  Args a;
  std::string err;
  ASSERT_EQ(parse_args(8, const_cast<char**>(argv), &a, &err), ParseOutcome::kRun) << err;
  EXPECT_TRUE(a.json);
  EXPECT_EQ(a.emulator_dir, "/tmp/x");
  EXPECT_EQ(a.command, "read-params");
  EXPECT_EQ(a.operands, (std::vector<std::string>{"keyboard", "0", "26"}));

  const char* missing[] = {"qxr470ctl", "list", "--emulator"};
  Args b;
  EXPECT_EQ(parse_args(3, const_cast<char**>(missing), &b, &err), ParseOutcome::kError);
  const char* none[] = {"qxr470ctl", "--json"};
  Args c;
  EXPECT_EQ(parse_args(2, const_cast<char**>(none), &c, &err), ParseOutcome::kError);
  const char* help[] = {"qxr470ctl", "info", "--help"};
  Args d;
  EXPECT_EQ(parse_args(3, const_cast<char**>(help), &d, &err), ParseOutcome::kHelp);
}

TEST(CtlInfo, MouseFieldsAreLittleEndianAndKeyboardCapacityInBytes) {
  uint8_t block[kInfoSize] = {};
  block[5] = 7;
  block[11] = 50;
  block[12] = 0x90;  // 400
  block[13] = 0x01;
  block[14] = 0x64;  // 100
  block[15] = 0x00;
  auto mouse = decode_info("mouse", block, sizeof block);
  ASSERT_EQ(mouse.size(), 4u);
  EXPECT_EQ(mouse[0].name, "key_count");
  EXPECT_EQ(mouse[0].value, 7u);
  EXPECT_EQ(mouse[1].value, 50u);
  EXPECT_EQ(mouse[2].value, 400u);
  EXPECT_EQ(mouse[3].value, 100u);

  block[6] = 32;
  auto keyboard = decode_info("keyboard", block, sizeof block);
  ASSERT_EQ(keyboard.size(), 2u);
  EXPECT_EQ(keyboard[1].name, "macro_capacity_bytes");
  EXPECT_EQ(keyboard[1].value, 32u * 128);

  EXPECT_TRUE(decode_info("headset", block, sizeof block).empty());
  EXPECT_EQ(decode_info("mouse", block, 13).size(), 2u);  // fields past a short block are left out
}

TEST(CtlErrors, PermissionProblemOnAHidrawNodeNamesTheNodeAndTheRule) {
  std::string text = explain_open_failure("/dev/hidraw3#vid_320f&pid_5055&mi_01&col04", EACCES);
  EXPECT_NE(text.find("/dev/hidraw3"), std::string::npos);
  EXPECT_EQ(text.find("#vid_"), std::string::npos);
  EXPECT_NE(text.find("70-qxr470.rules"), std::string::npos);
  std::string other = explain_open_failure("/tmp/emu/kb.sock#vid_320f&pid_5055&mi_01&col04", ECONNREFUSED);
  EXPECT_NE(other.find("/tmp/emu/kb.sock"), std::string::npos);
  EXPECT_EQ(other.find("rules"), std::string::npos);
}

// An emulated keyboard interface (four collections) answered by the memory firmware.
class CtlOnEmulatedKeyboard : public ::testing::Test {
 protected:
  CtlOnEmulatedKeyboard() : peer_(emu::keyboard_report_descriptor(), 0x320F, 0x5055, 1) {
    hid::set_hidraw_enabled(false);  // only what this test serves
    peer_.set_script([fw = firmware_](const Packet& r, ScriptedPeer& p) { (*fw)(r, p); });
    args_.emulator_dir = peer_.folder();
    args_.json = true;
  }
  ~CtlOnEmulatedKeyboard() override { hid::set_hidraw_enabled(true); }

  int run(const std::string& command, std::vector<std::string> operands, Output& out) {
    args_.command = command;
    args_.operands = std::move(operands);
    return run_command(args_, out);
  }

  ScriptedPeer peer_;
  std::shared_ptr<MemoryFirmware> firmware_ = std::make_shared<MemoryFirmware>();
  Args args_;
};

TEST_F(CtlOnEmulatedKeyboard, ListShowsBothKeyboardSlots) {
  Output out(true);
  ASSERT_EQ(run("list", {}, out), kExitOk);
  const Json::Value& list = out.doc()["interfaces"];
  ASSERT_EQ(list.size(), 2u);
  std::map<int, std::string> slots;
  for (const Json::Value& i : list) slots[i["slot"].asInt()] = i["role"].asString();
  EXPECT_EQ(slots[0], "primary");
  EXPECT_EQ(slots[1], "secondary");
  for (const Json::Value& i : list) EXPECT_EQ(i["kind_name"].asString(), "keyboard");
}

TEST_F(CtlOnEmulatedKeyboard, InfoDecodesTheBlockTheDeviceSent) {
  firmware_->info[5] = 104;
  firmware_->info[6] = 40;
  Output out(true);
  ASSERT_EQ(run("info", {"keyboard"}, out), kExitOk);
  EXPECT_EQ(out.doc()["result"].asInt(), kResultOk);
  EXPECT_EQ(out.doc()["fields"]["key_count"].asUInt(), 104u);
  EXPECT_EQ(out.doc()["fields"]["macro_capacity_bytes"].asUInt(), 40u * 128);
  // Bracketed like the device pages do it.
  auto reqs = peer_.requests();
  ASSERT_EQ(reqs.size(), 3u);
  EXPECT_EQ(reqs[0][kOffCommand], CMD_BEGIN);
  EXPECT_EQ(reqs[1][kOffCommand], CMD_READ_INFO);
  EXPECT_EQ(reqs[2][kOffCommand], CMD_END);
}

TEST_F(CtlOnEmulatedKeyboard, ReadParamsReturnsTheMemory) {
  auto& mem = firmware_->space(CMD_READ_PARAMS);
  for (int i = 0; i < 60; ++i) mem[25 + i] = static_cast<uint8_t>(i);
  Output out(true);
  ASSERT_EQ(run("read-params", {"keyboard", "25", "0x3c"}, out), kExitOk);
  std::string data = out.doc()["data"].asString();
  EXPECT_EQ(data.substr(0, 11), "00 01 02 03");
  EXPECT_EQ(data.size(), 60u * 3 - 1);
  EXPECT_EQ(data.substr(data.size() - 2), "3b");
}

TEST_F(CtlOnEmulatedKeyboard, ExchangeShowsTheDeviceRefusal) {
  peer_.set_script([](const Packet& r, ScriptedPeer& p) { p.send(echo_reply(r, kStatusError)); });
  Output out(true);
  EXPECT_EQ(run("exchange", {"keyboard", "read_params", "04 10 00"}, out), kExitFailed);
  EXPECT_EQ(out.doc()["exchange_result"].asInt(), kResultOk);
  EXPECT_EQ(out.doc()["result"].asInt(), kResultStatusFF);
  ASSERT_EQ(peer_.requests().size(), 1u);
  const Packet sent = peer_.requests()[0];
  EXPECT_EQ(sent[kOffCommand], CMD_READ_PARAMS);
  EXPECT_EQ(sent[kOffLength], 4);
  EXPECT_EQ(report_offset(sent.data()), 0x10);
  EXPECT_TRUE(checksum_ok(sent.data()));
}

TEST_F(CtlOnEmulatedKeyboard, MissingKindAndBadOperandsAreReported) {
  Output a(true);
  EXPECT_EQ(run("info", {"mouse"}, a), kExitFailed);
  Output b(true);
  EXPECT_EQ(run("info", {"toaster"}, b), kExitUsage);
  Output c(true);
  EXPECT_EQ(run("read-params", {"keyboard", "0", "5000"}, c), kExitUsage);
  Output d(true);
  EXPECT_EQ(run("exchange", {"keyboard", "5", std::string(61 * 2, '0')}, d), kExitUsage);
  EXPECT_TRUE(peer_.requests().empty());
}

}  // namespace
}  // namespace qxr::testing
