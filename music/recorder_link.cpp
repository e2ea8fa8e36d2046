#include "music/recorder_link.h"

#include <vector>

#include "core/base64.h"
#include "core/whole_number.h"

namespace qxr::music {
namespace {

std::vector<std::string_view> words_of(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::optional<int64_t> integer(std::string_view word) { return whole_number<int64_t>(word); }

void put_le32(uint8_t* at, int value) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

int get_le32(std::span<const uint8_t> block, size_t offset) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) {
    if (offset + i < block.size()) v |= uint32_t{block[offset + i]} << (8 * i);
  }
  return static_cast<int>(v);
}

}  // namespace

std::optional<RecorderState> recorder_state_from(int64_t value) {
  if (value < static_cast<int>(RecorderState::Capturing) || value > static_cast<int>(RecorderState::NoOutput))
    return std::nullopt;
  return static_cast<RecorderState>(value);
}

std::array<uint8_t, kColourBlockBytes> colour_block(const StyleColour& colour) {
  std::array<uint8_t, kColourBlockBytes> block{};
  put_le32(&block[0], colour.red);
  // The recorder reads a zero green as "no colour given".
  put_le32(&block[4], colour.green == 0 ? 1 : colour.green);
  put_le32(&block[8], colour.blue);
  return block;
}

StyleColour colour_from_block(std::span<const uint8_t> block) {
  return {get_le32(block, 0), get_le32(block, 4), get_le32(block, 8)};
}

std::string ready_line(int64_t pid) { return std::string(kRecorderReadyLine) + ' ' + std::to_string(pid) + '\n'; }

std::string state_line(RecorderState state) {
  return std::string(kRecorderStateLine) + ' ' + std::to_string(static_cast<int>(state)) + '\n';
}

std::string data_line(int64_t id, std::span<const uint8_t> bytes) {
  std::string line = std::string(kDataLine) + ' ' + std::to_string(id);
  if (!bytes.empty()) line += ' ' + encode_base64(bytes);
  return line + '\n';
}

std::optional<RecorderRequest> parse_request(std::string_view line) {
  const std::vector<std::string_view> words = words_of(line);
  if (words.empty()) return std::nullopt;
  RecorderRequest request;
  if (words[0] == kRecorderCmdLine || words[0] == kRecorderCmdAlias) {
    if (words.size() < 2 || words.size() > 3) return std::nullopt;
    const auto code = integer(words[1]);
    const auto value = words.size() == 3 ? integer(words[2]) : std::optional<int64_t>(0);
    if (!code || !value || *code < 0 || *code > static_cast<int>(RecorderCommand::Quit)) return std::nullopt;
    request.command = static_cast<RecorderCommand>(*code);
    request.value = *value;
    return request;
  }
  if (words[0] == kDataLine && words.size() == 3 && integer(words[1]) == kColourBlock) {
    const auto bytes = decode_base64(words[2]);
    if (!bytes || bytes->empty()) return std::nullopt;
    request.kind = RecorderRequest::Kind::Colour;
    request.colour = colour_from_block(*bytes);
    return request;
  }
  return std::nullopt;
}

}  // namespace qxr::music
