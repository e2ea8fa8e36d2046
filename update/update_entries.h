#pragma once
// The products the update check asks about: the device firmware of the configuration and the
// program itself, and the product key each is asked for.
#include <cstdint>
#include <string>
#include <vector>

#include "profile/update_files.h"

namespace qxr::update {

inline constexpr int kProgramKind = 0;  // versions in decimal; firmware kinds use hexadecimal
inline constexpr int kUpdateVariant = 1;
inline constexpr char kUpdateBrand[] = "KELTO";
inline constexpr char kProgramProductCode[] = "ALL";
inline constexpr char kProgramDisplayName[] = "AP";
inline constexpr char kUnknownVersionKey[] = "NULL";

struct UpdateEntry {
  int kind = kProgramKind;
  int variant = kUpdateVariant;
  uint32_t version = 0;  // installed; 0 until known
  std::string brand = kUpdateBrand;
  std::string product_code;
  std::string model_code;
  std::string display_name;
  std::string version_text;  // preset text of the installed version

  bool hex_versions() const { return kind != kProgramKind; }
};

// "<brand>_<kind>_<product>_<model>_<variant>"; "NULL" while the version is 0.
std::string ProductKey(const UpdateEntry& entry);
// What a row shows before the check: "AP" for the program, the display name otherwise.
std::string RowName(const UpdateEntry& entry);
// "V%04x" of the version for firmware; the preset text for the program.
std::string RowVersionText(const UpdateEntry& entry);

// The configuration's firmware in its order, then the program with its installed version
// (program_version, the dotted version text).
std::vector<UpdateEntry> UpdateEntries(const UpdateConfig& config, const std::string& program_version);

}  // namespace qxr::update
