// "Language.config", and the bounded reading every JSON file of the program goes through.
#include <cstdint>
#include <string>

#include "fuzz/scratch_folder.h"
#include "profile/json_file.h"
#include "profile/language_config.h"

using namespace qxr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)ParseLanguageConfig(text);

  fuzz::clear_scratch_folder();
  const std::string path = fuzz::scratch_folder() + "Language.config";
  fuzz::write_file(path, data, size);
  const Json::Value doc = ReadJsonFile(path);
  // What a file held, it holds when written back and read again.
  if (doc.isObject() && ParseJsonText(StyledJsonText(doc)) != doc) __builtin_trap();
  (void)InspectJsonFile(path);
  (void)ReadJsonFileForUpdate(path);
  return 0;
}
