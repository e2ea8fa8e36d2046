#pragma once
// What the program and the recorder (qxr470-recorder) say to each other over the program's
// local socket (docs/local-socket.md). The recorder connects as a client, introduces itself
// with "recorder-ready", reports how its capture goes with "recorder-state" and sends data
// blocks 1 and 2; the program sends it "recorder-cmd" and the colour (data block 10).
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qxr::music {

// The recorder's identity: the application name followed by these.
inline constexpr char kRecorderClassSuffix[] = "AudioRecord";
inline constexpr char kRecorderWindowSuffix[] = "AUDIORECORD";
inline constexpr char kRecorderProgram[] = "qxr470-recorder";

inline constexpr std::string_view kRecorderReadyLine = "recorder-ready";
inline constexpr std::string_view kRecorderStateLine = "recorder-state";
inline constexpr std::string_view kRecorderCmdLine = "recorder-cmd";
inline constexpr std::string_view kRecorderCmdAlias = "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}";
inline constexpr std::string_view kDataLine = "data";

// recorder-cmd <code> <value>.
enum class RecorderCommand : int {
  Attach = 0,  // value: the program's process id; data blocks go to this connection
  Start = 1,   // capture what the computer plays
  Stop = 2,    // no recording stream any more
  Reset = 3,   // forget the analysis so far (the next block starts from silence)
  Detach = 4,  // no more data blocks
  Quit = 5,    // end the recorder
};
inline constexpr std::array<RecorderCommand, 3> kConnectCommands = {RecorderCommand::Attach, RecorderCommand::Reset,
                                                                    RecorderCommand::Start};
inline constexpr std::array<RecorderCommand, 3> kDisconnectCommands = {RecorderCommand::Stop, RecorderCommand::Detach,
                                                                       RecorderCommand::Quit};

// recorder-state <state>.
enum class RecorderState : int {
  Capturing = 0,      // a recording stream runs on the default output's monitor
  Idle = 1,           // connected to the sound server, not recording
  NoSoundServer = 2,  // no sound server answers
  NoOutput = 3,       // the server has no output to listen to
};
std::optional<RecorderState> recorder_state_from(int64_t value);

// The colour block: red, green and blue of the selected style (0-9 each) as 32-bit
// little-endian integers, then zeros. Green 0 travels as 1.
inline constexpr int64_t kColourBlock = 10;
inline constexpr size_t kColourBlockBytes = 40;
inline constexpr int kStyleSteps = 9;  // a style channel runs 0 .. 9
struct StyleColour {
  int red = 0, green = 0, blue = 0;
  bool operator==(const StyleColour&) const = default;
};
std::array<uint8_t, kColourBlockBytes> colour_block(const StyleColour& colour);
// The colour of a block as sent (short blocks read missing bytes as 0).
StyleColour colour_from_block(std::span<const uint8_t> block);

// Lines the recorder writes, newline included.
std::string ready_line(int64_t pid);
std::string state_line(RecorderState state);
std::string data_line(int64_t id, std::span<const uint8_t> bytes);

// What the recorder reads: a command or a colour. Every other line (the program's
// announcements, unknown names) is nothing.
struct RecorderRequest {
  enum class Kind { Command, Colour } kind = Kind::Command;
  RecorderCommand command = RecorderCommand::Attach;
  int64_t value = 0;
  StyleColour colour;
};
std::optional<RecorderRequest> parse_request(std::string_view line);

}  // namespace qxr::music
