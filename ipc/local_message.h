#pragma once
// The messages other programs send to the running program over its local socket, and the
// announcements it sends back: one text line each, "<name> [args]" (docs/local-socket.md).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qxr::ipc {

enum class MessageKind {
  Identity,       // a second start asks the running one to show itself
  Forward,        // passed on to the companion window
  LightAnnounce,  // sent by the program when it takes or releases lighting control
  LightControl,   // switches the program's lighting control off (0) or on (1)
  MainAction,     // runs a main-window action
  GameStart,
  GameEnd,
  GameKill,
  GameDeath,
  Data,           // a data block (first parameter: its identifier)
  Quit,           // ends the program, as the tray menu's "exit" does
  DeviceTable,    // asks for the device table; answered with a data block to the asking client
  RecorderReady,  // the recorder introduces itself on its connection (its process id)
  RecorderState,  // how the recorder's capture goes (music/recorder_link.h)
  RecorderCmd,    // sent to the recorder: a command and its value
};

// The data block that answers DeviceTable carries this identifier.
inline constexpr int64_t kDeviceTableDataId = 5;

struct LocalMessage {
  MessageKind kind = MessageKind::Identity;
  int64_t wparam = 0;
  int64_t lparam = 0;
  std::vector<uint8_t> data;  // Data only
  bool operator==(const LocalMessage&) const = default;
};

// The longest line accepted; data blocks travel base64-encoded within it.
inline constexpr size_t kMaxMessageLine = 256 * 1024;

std::string_view message_name(MessageKind kind);
std::optional<MessageKind> message_kind(std::string_view name);

// The line without its newline; nothing for an unknown name or malformed parameters.
std::optional<LocalMessage> parse_message(std::string_view line);
// The line with its newline.
std::string format_message(const LocalMessage& message);

// "--send <name> [args]": the same forms as a line, split into words.
std::optional<LocalMessage> message_from_args(const std::vector<std::string>& words);

// Quit and DeviceTable take no parameters; the others two integers, Data an identifier and
// a block.
bool takes_parameters(MessageKind kind);

// Game events carry their device group in wparam and the lighting mode in lparam.
bool is_game_event(MessageKind kind);

}  // namespace qxr::ipc
