#pragma once
// A private folder per fuzzing process for the loaders that read files by path, removed when
// the process ends.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qxr::fuzz {

// "<tmp>/qxr470-fuzz-XXXXXX/", created on first use; aborts when it cannot be made.
const std::string& scratch_folder();

// Replaces the file with exactly these bytes; aborts on failure (a harness fault, not a finding).
void write_file(const std::string& path, const uint8_t* data, size_t size);

// Removes every entry of the scratch folder, so that one input never sees another's files.
void clear_scratch_folder();

}  // namespace qxr::fuzz
