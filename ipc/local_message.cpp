#include "ipc/local_message.h"

#include <array>

#include "core/base64.h"
#include "core/whole_number.h"
#include "ipc/identity.h"
#include "music/recorder_link.h"

namespace qxr::ipc {
namespace {

struct NameRow {
  MessageKind kind;
  std::string_view name;
  std::string_view alias;  // the message's identity string, when it has one
  bool parameters;         // up to two integers follow the name
  bool taken = true;       // false: ours to send only, never taken from others
};

constexpr std::array<NameRow, 15> kNames = {{
    {MessageKind::Identity, "identity", kAppIdentity, true},
    {MessageKind::Forward, "forward", kForwardMsgId, true},
    {MessageKind::LightAnnounce, "light-announce", kLightAnnounceMsgId, true},
    {MessageKind::LightControl, "light-control", kLightControlMsgId, true},
    {MessageKind::MainAction, "main-action", kMainActionMsgId, true},
    {MessageKind::GameStart, "Game_Start", "", true},
    {MessageKind::GameEnd, "Game_End", "", true},
    {MessageKind::GameKill, "Game_Kill", "", true},
    {MessageKind::GameDeath, "Game_Death", "", true},
    {MessageKind::Data, music::kDataLine, "", true},
    {MessageKind::Quit, "quit", "", false},
    {MessageKind::DeviceTable, "device-table", "", false},
    {MessageKind::RecorderReady, music::kRecorderReadyLine, "", true},
    {MessageKind::RecorderState, music::kRecorderStateLine, "", true},
    {MessageKind::RecorderCmd, music::kRecorderCmdLine, music::kRecorderCmdAlias, true, false},
}};

std::optional<int64_t> parse_int(std::string_view word) {
  int base = 10;
  std::string_view digits = word;
  bool negative = false;
  if (!digits.empty() && digits[0] == '-') {
    negative = true;
    digits.remove_prefix(1);
  }
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.remove_prefix(2);
  }
  // from_chars takes a sign of its own; one in front of the digits is all a line may have.
  if (digits.empty() || digits[0] == '-') return std::nullopt;
  const std::optional<int64_t> v = whole_number<int64_t>(digits, base);
  if (!v) return std::nullopt;
  return negative ? -*v : *v;
}

std::vector<std::string_view> split_words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::optional<LocalMessage> from_words(const std::vector<std::string_view>& words) {
  if (words.empty()) return std::nullopt;
  std::optional<MessageKind> kind = message_kind(words[0]);
  if (!kind) return std::nullopt;
  LocalMessage m;
  m.kind = *kind;
  if (m.kind == MessageKind::Data) {
    // An empty block has no data word.
    if (words.size() != 2 && words.size() != 3) return std::nullopt;
    auto id = parse_int(words[1]);
    auto data = words.size() == 3 ? decode_base64(words[2]) : std::optional<std::vector<uint8_t>>(std::vector<uint8_t>{});
    if (!id || !data) return std::nullopt;
    m.wparam = *id;
    m.data = std::move(*data);
    return m;
  }
  if (!takes_parameters(m.kind)) return words.size() == 1 ? std::optional<LocalMessage>(m) : std::nullopt;
  if (words.size() > 3) return std::nullopt;
  // The identity message of a second start carries lparam 1; a bare "identity" means that.
  if (m.kind == MessageKind::Identity) m.lparam = 1;
  if (words.size() > 1) {
    auto w = parse_int(words[1]);
    if (!w) return std::nullopt;
    m.wparam = *w;
  }
  if (words.size() > 2) {
    auto l = parse_int(words[2]);
    if (!l) return std::nullopt;
    m.lparam = *l;
  }
  return m;
}

}  // namespace

std::string_view message_name(MessageKind kind) {
  for (const NameRow& row : kNames) {
    if (row.kind == kind) return row.name;
  }
  return {};
}

std::optional<MessageKind> message_kind(std::string_view name) {
  for (const NameRow& row : kNames) {
    if (!row.taken) continue;
    if (name == row.name || (!row.alias.empty() && name == row.alias)) return row.kind;
  }
  return std::nullopt;
}

std::optional<LocalMessage> parse_message(std::string_view line) {
  if (line.size() > kMaxMessageLine) return std::nullopt;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  // The identity string contains blanks; it is a whole line on its own.
  if (line == kAppIdentity) return parse_message("identity");
  return from_words(split_words(line));
}

std::string format_message(const LocalMessage& m) {
  std::string line(message_name(m.kind));
  if (m.kind == MessageKind::Data) {
    line += ' ' + std::to_string(m.wparam);
    if (!m.data.empty()) line += ' ' + encode_base64(m.data);
  } else if (takes_parameters(m.kind)) {
    line += ' ' + std::to_string(m.wparam) + ' ' + std::to_string(m.lparam);
  }
  return line + '\n';
}

std::optional<LocalMessage> message_from_args(const std::vector<std::string>& words) {
  std::vector<std::string_view> views(words.begin(), words.end());
  return from_words(views);
}

bool takes_parameters(MessageKind kind) {
  for (const NameRow& row : kNames) {
    if (row.kind == kind) return row.parameters;
  }
  return false;
}

bool is_game_event(MessageKind kind) {
  return kind == MessageKind::GameStart || kind == MessageKind::GameEnd || kind == MessageKind::GameKill ||
         kind == MessageKind::GameDeath;
}

}  // namespace qxr::ipc
