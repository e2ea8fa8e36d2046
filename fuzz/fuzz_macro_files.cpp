// The macro files of a device folder and the mouse's recoil scripts, as far as the device
// images they become: "macro.config", a ".mac" file and a "ShootData_<n>.Shoot" file; and
// the checks of a ".mac" or ".shoot" file offered for import.
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "devices/keyboard/macro_blob.h"
#include "devices/mouse/recoil_blob.h"
#include "fuzz/scratch_folder.h"
#include "profile/light_config.h"
#include "profile/macro_files.h"

using namespace qxr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = fuzz::scratch_folder();
  const std::string config = folder + kMacroConfigFile;
  fuzz::write_file(config, data, size);
  if (auto entries = ReadMacroList(config)) {
    for (const MacroEntry& e : *entries) (void)MacroFilePath(folder, e);
  }

  const std::string mac = folder + "fuzz" + kMacroFileExtension;
  fuzz::write_file(mac, data, size);
  std::vector<MacroEvent> events = ReadMacroEvents(mac);
  const std::vector<std::vector<MacroEvent>> macros = {events, events};
  (void)devices::macro_blob_length(macros);
  (void)devices::build_macro_blob(macros);

  // The same bytes offered for import, as a macro and as a gun's script.
  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)CheckMacroImportText(text);
  (void)CheckRecoilImportText(text);

  fuzz::write_file(RecoilScriptPath(folder, 0), data, size);
  (void)devices::build_recoil_blob(ReadRecoilScripts(folder));
  return 0;
}
