#include "app/socket/local_message.h"

#include <array>
#include <charconv>

#include "app/startup/app_identity.h"

namespace qxr::app {
namespace {

struct NameRow {
  MessageKind kind;
  std::string_view name;
  std::string_view alias;  // the message's identity string, when it has one
};

constexpr std::array<NameRow, 10> kNames = {{
    {MessageKind::Identity, "identity", kAppIdentity},
    {MessageKind::Forward, "forward", kForwardMsgId},
    {MessageKind::LightAnnounce, "light-announce", kLightAnnounceMsgId},
    {MessageKind::LightControl, "light-control", kLightControlMsgId},
    {MessageKind::MainAction, "main-action", kMainActionMsgId},
    {MessageKind::GameStart, "Game_Start", ""},
    {MessageKind::GameEnd, "Game_End", ""},
    {MessageKind::GameKill, "Game_Kill", ""},
    {MessageKind::GameDeath, "Game_Death", ""},
    {MessageKind::Data, "data", ""},
}};

constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string encode_base64(const std::vector<uint8_t>& bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t v = uint32_t{bytes[i]} << 16;
    if (i + 1 < bytes.size()) v |= uint32_t{bytes[i + 1]} << 8;
    if (i + 2 < bytes.size()) v |= bytes[i + 2];
    out += kBase64[(v >> 18) & 63];
    out += kBase64[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kBase64[v & 63] : '=';
  }
  return out;
}

std::optional<std::vector<uint8_t>> decode_base64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::vector<uint8_t> out;
  out.reserve(text.size() / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    uint32_t v = 0;
    int pad = 0;
    for (size_t j = 0; j < 4; ++j) {
      char c = text[i + j];
      uint32_t d = 0;
      if (c == '=') {
        // Padding only at the end of the last group.
        if (i + 4 != text.size() || j < 2) return std::nullopt;
        ++pad;
      } else {
        if (pad != 0) return std::nullopt;
        size_t at = kBase64.find(c);
        if (at == std::string_view::npos) return std::nullopt;
        d = static_cast<uint32_t>(at);
      }
      v = (v << 6) | d;
    }
    out.push_back(static_cast<uint8_t>(v >> 16));
    if (pad < 2) out.push_back(static_cast<uint8_t>(v >> 8));
    if (pad < 1) out.push_back(static_cast<uint8_t>(v));
  }
  return out;
}

std::optional<int64_t> parse_int(std::string_view word) {
  int64_t v = 0;
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
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, base);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return negative ? -v : v;
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
  } else {
    line += ' ' + std::to_string(m.wparam) + ' ' + std::to_string(m.lparam);
  }
  return line + '\n';
}

std::optional<LocalMessage> message_from_args(const std::vector<std::string>& words) {
  std::vector<std::string_view> views(words.begin(), words.end());
  return from_words(views);
}

bool is_game_event(MessageKind kind) {
  return kind == MessageKind::GameStart || kind == MessageKind::GameEnd || kind == MessageKind::GameKill ||
         kind == MessageKind::GameDeath;
}

}  // namespace qxr::app
