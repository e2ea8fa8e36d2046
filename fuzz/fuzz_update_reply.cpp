// The update server's answer (any bytes a server or anyone on the path could send), read for
// decimal and hexadecimal version numbers; and "update.config", which the user edits by hand.
#include <cstdint>
#include <string>
#include <string_view>

#include "profile/update_files.h"
#include "update/update_info.h"

using namespace qxr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (bool hex : {false, true}) {
    (void)update::ParseUpdateReply(text, 0x0104, hex);
    (void)update::ParseVersionNumber(text, hex);
  }
  (void)update::InstalledVersionNumber(text);
  (void)ParseUpdateConfig(std::string(text));
  return 0;
}
