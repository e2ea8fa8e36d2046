#pragma once
// Whole-file writes that never leave a half-written file behind: the data goes to a
// temporary file in the same folder, is flushed to disk and renamed over the target.
#include <string>
#include <string_view>

namespace qxr {

// False when the file could not be written; error (optional) then receives the errno of the
// step that failed, and the file is as it was.
bool write_file_atomic(const std::string& path, std::string_view data, int* error = nullptr);

}  // namespace qxr
