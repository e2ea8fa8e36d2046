// A device's "ProfileList.ini" as every operation of the profile drop-down rereads it, and the
// same bytes as a profile file offered for import.
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "fuzz/scratch_folder.h"
#include "profile/profile_list.h"

using namespace qxr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::clear_scratch_folder();
  const std::string folder = fuzz::scratch_folder() + "keyboard/";
  ::mkdir(folder.c_str(), 0700);
  fuzz::write_file(folder + kProfileListFile, data, size);
  const std::string import = fuzz::scratch_folder() + "import.Json";
  fuzz::write_file(import, data, size);

  ProfileList list;
  list.SetFolders(folder, QXR_FUZZ_SOURCE_DIR "/DefaultData/mouse.Json");
  list.InitProfileList();
  (void)list.Names();
  (void)list.CurrentProfilePath();
  list.SelectProfile(list.Count() - 1);
  list.AddProfile();
  list.CopyProfile();
  list.RenameProfile("fuzz");
  list.ImportProfile(import);
  list.ExportProfile(fuzz::scratch_folder() + "export.Json");
  list.ResetProfile();
  list.DeleteProfile();
  return 0;
}
