#pragma once
// Process-wide record of open interface paths, so that an exclusive open refuses a path that
// is already open here, and a shared open refuses one that is held exclusively.
#include <string>

namespace qxr::hid {

bool open_registry_acquire(const std::string& path, bool exclusive);
void open_registry_release(const std::string& path, bool exclusive);

}  // namespace qxr::hid
