// qxr470-emu as a child process: its command language on standard input, its files, and its
// ways of ending.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "emulator/report_descriptors.h"
#include "raw_client.h"
#include "tests/support/temp_folder.h"

namespace qxr::emu {
namespace {

using namespace protocol;
using namespace testing;
using qxr::testing::TempFolder;
using std::filesystem::exists;

class Program {
 public:
  explicit Program(const std::string& dir, std::vector<std::string> devices) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      ::close(in[0]), ::close(in[1]), ::close(out[0]), ::close(out[1]);
      std::vector<std::string> args = {QXR_EMU_PROGRAM, "--dir", dir};
      args.insert(args.end(), devices.begin(), devices.end());
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    to_ = in[1];
    from_ = fdopen(out[0], "r");
  }
  ~Program() {
    close_input();
    if (from_) fclose(from_);
    if (pid_ > 0 && !reaped_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  void send(const std::string& line) {
    std::string text = line + "\n";
    ASSERT_EQ(write(to_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  std::string line() {
    char buffer[512];
    if (!from_ || !fgets(buffer, sizeof(buffer), from_)) return "<eof>";
    std::string s = buffer;
    if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
  }
  // Sends a command and collects its lines up to and including "ok" or an error.
  std::vector<std::string> command(const std::string& text) {
    send(text);
    std::vector<std::string> lines;
    for (;;) {
      lines.push_back(line());
      const std::string& last = lines.back();
      if (last == "ok" || last.rfind("error: ", 0) == 0 || last == "<eof>") return lines;
    }
  }
  void close_input() {
    if (to_ >= 0) ::close(to_);
    to_ = -1;
  }
  int wait_exit() {
    int status = 0;
    waitpid(pid_, &status, 0);
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int to_ = -1;
  FILE* from_ = nullptr;
  bool reaped_ = false;
};

TEST(Program, CommandsDriveTheDevicesAndQuitRemovesTheFiles) {
  TempFolder dir;
  Program emu(dir.path(), {"keyboard"});
  ASSERT_EQ(emu.line(), "ready");
  EXPECT_TRUE(exists(dir.file("keyboard.json")));
  EXPECT_FALSE(exists(dir.file("pad.json")));

  EXPECT_EQ(emu.command("plug pad").back(), "ok");
  EXPECT_TRUE(exists(dir.file("pad.json")));
  EXPECT_EQ(emu.command("plug pad").back(), "error: pad is already plugged");

  RawClient kb(dir.file("keyboard.sock"));
  ASSERT_TRUE(kb.connected());
  EXPECT_EQ(emu.command("press keyboard 12").back(), "ok");
  auto event = kb.receive();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ((*event)[0], kConsumerEventReportId);
  EXPECT_EQ((*event)[1] | ((*event)[2] << 8), 0x050C);

  EXPECT_EQ(emu.command("battery pad 37 1").back(), "ok");
  RawClient pad(dir.file("pad.sock"));
  auto status = pad.exchange(page(CMD_READ_STATUS, 6, 0));
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ((*status)[kOffData], 37);
  EXPECT_EQ((*status)[kOffData + 1], 1);

  EXPECT_EQ(emu.command("fault pad status-fe 1").back(), "ok");
  auto busy = pad.exchange(page(CMD_BEGIN));
  ASSERT_TRUE(busy.has_value());
  EXPECT_EQ((*busy)[kOffStatus], kStatusBusy);

  std::vector<std::string> dump = emu.command("dump pad status");
  ASSERT_EQ(dump.size(), 2u);
  EXPECT_EQ(dump[0], "0000: 25 01 00 00 00 00 00 00");
  std::vector<std::string> counts = emu.command("dump pad counts");
  EXPECT_NE(std::find(counts.begin(), counts.end(), "command 0x1a: 1"), counts.end());

  EXPECT_EQ(emu.command("unplug pad").back(), "ok");
  EXPECT_FALSE(exists(dir.file("pad.json")));
  EXPECT_EQ(emu.command("quit").back(), "ok");
  EXPECT_EQ(emu.wait_exit(), 0);
  EXPECT_FALSE(exists(dir.file("keyboard.json")));
  EXPECT_FALSE(exists(dir.file("keyboard.sock")));
}

TEST(Program, BadCommandsGetClearErrorLines) {
  TempFolder dir;
  Program emu(dir.path(), {"mouse"});
  ASSERT_EQ(emu.line(), "ready");
  EXPECT_EQ(emu.command("jump mouse").back(), "error: unknown command jump (try help)");
  EXPECT_EQ(emu.command("press toaster 1").back(),
            "error: unknown device toaster (keyboard, mouse, pad, headset)");
  EXPECT_EQ(emu.command("press mouse").back(), "error: usage: press D K");
  EXPECT_EQ(emu.command("press mouse 256").back(), "error: key position must be 0-255, not 256");
  EXPECT_EQ(emu.command("battery mouse 101 0").back(), "error: battery level must be 0-100, not 101");
  EXPECT_EQ(emu.command("fault mouse late").back(), "error: late needs the delay in milliseconds");
  EXPECT_EQ(emu.command("dump mouse flash").back().rfind("error: unknown memory flash", 0), 0u);
  EXPECT_EQ(emu.command("settings-changed mouse 0x0403").back(),
            "error: settings-changed code must be 0x0401 or 0x0402");
  EXPECT_EQ(emu.command("release headset 1").back(), "error: headset is not plugged");
  // Still serving after all that.
  EXPECT_EQ(emu.command("settings-changed mouse 0x0402").back(), "ok");
  emu.close_input();  // end of input ends the program too
  EXPECT_EQ(emu.wait_exit(), 0);
  EXPECT_FALSE(exists(dir.file("mouse.json")));
}

TEST(Program, TerminationSignalRemovesTheFiles) {
  TempFolder dir;
  Program emu(dir.path(), {"headset", "pad"});
  ASSERT_EQ(emu.line(), "ready");
  ASSERT_TRUE(exists(dir.file("headset.sock")));
  kill(emu.pid(), SIGTERM);
  EXPECT_EQ(emu.wait_exit(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Program, UnknownDeviceOnTheCommandLineIsAUsageError) {
  TempFolder dir;
  Program emu(dir.path(), {"keyboard", "trackball"});
  EXPECT_EQ(emu.line(), "<eof>");
  EXPECT_EQ(emu.wait_exit(), 2);
}

}  // namespace
}  // namespace qxr::emu
