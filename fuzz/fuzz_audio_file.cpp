// "AudioFile.json", the music lighting's colour styles, as the user's folder may hold it.
#include <cstdint>
#include <string>

#include "fuzz/scratch_folder.h"
#include "profile/audio_file.h"

using namespace qxr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::scratch_folder() + kAudioFileName;
  fuzz::write_file(path, data, size);
  const AudioStyles styles = LoadAudioFile(path);
  // What was read is written and read back the same.
  if (!SaveAudioFile(path, styles)) __builtin_trap();
  if (!(LoadAudioFile(path) == styles)) __builtin_trap();
  return 0;
}
