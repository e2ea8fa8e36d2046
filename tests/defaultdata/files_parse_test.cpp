// Every file shipped in DefaultData is a JSON object the program can read.
#include <gtest/gtest.h>

#include <filesystem>

#include "profile/data_paths.h"
#include "tests/defaultdata/default_data.h"

namespace qxr::test {
namespace {

TEST(DefaultDataFiles, EveryShippedFileParses) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(DefaultDataFolder())) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    ++files;
    EXPECT_TRUE(ReadDefaultDocument(name).isObject()) << name;
  }
  // 4 profiles, 2 catalogues, 6 effects, 4 recoil scripts, languages and their texts.
  EXPECT_GE(files, 4 + 2 + 6 + 4 + 2);
}

TEST(DefaultDataFiles, EachModelHasItsDefaultProfile) {
  for (const char* model : {kKeyboardFolder, kMouseFolder, kMousePadFolder, kHeadsetFolder}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(DefaultProfilePath(model))) << model;
  }
}

}  // namespace
}  // namespace qxr::test
