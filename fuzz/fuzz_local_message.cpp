// One line from the local socket, as the running program receives it from any other program,
// and the same words given to "--send".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ipc/local_message.h"

using namespace qxr::ipc;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const auto message = parse_message(line);
  if (message) {
    // The program's own form of a message reads back as the same message.
    const std::string formatted = format_message(*message);
    if (formatted.empty() || formatted.back() != '\n') __builtin_trap();
    const auto again = parse_message(std::string_view(formatted).substr(0, formatted.size() - 1));
    if (!again || !(*again == *message)) __builtin_trap();
  }

  std::vector<std::string> words;
  size_t start = 0;
  for (size_t i = 0; i <= line.size(); ++i) {
    if (i == line.size() || line[i] == ' ') {
      if (i > start) words.emplace_back(line.substr(start, i - start));
      start = i + 1;
    }
  }
  (void)message_from_args(words);
  return 0;
}
