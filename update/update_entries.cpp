#include "update/update_entries.h"

#include <fmt/format.h>

#include "update/update_info.h"

namespace qxr::update {

std::string ProductKey(const UpdateEntry& e) {
  if (e.version == 0) return kUnknownVersionKey;
  return fmt::format("{}_{}_{}_{}_{}", e.brand, e.kind, e.product_code, e.model_code, e.variant);
}

std::string RowName(const UpdateEntry& e) {
  return e.product_code == kProgramProductCode ? std::string(kProgramDisplayName) : e.display_name;
}

std::string RowVersionText(const UpdateEntry& e) {
  return e.hex_versions() ? fmt::format("V{:04x}", e.version) : e.version_text;
}

std::vector<UpdateEntry> UpdateEntries(const UpdateConfig& config, const std::string& program_version) {
  std::vector<UpdateEntry> entries;
  for (const FirmwareConfigEntry& f : config.firmware) {
    UpdateEntry e;
    e.kind = f.kind;
    e.version = f.version;
    e.product_code = f.product_code;
    e.model_code = f.model_code;
    e.display_name = f.display_name;
    entries.push_back(std::move(e));
  }
  UpdateEntry program;
  program.kind = kProgramKind;
  program.version = InstalledVersionNumber(program_version);
  program.product_code = kProgramProductCode;
  program.model_code = config.model_code;
  program.display_name = kProgramDisplayName;
  program.version_text = fmt::format("V{}", program.version);
  entries.push_back(std::move(program));
  return entries;
}

}  // namespace qxr::update
