#include "hid/open_registry.h"

#include <map>
#include <mutex>

namespace qxr::hid {
namespace {

struct Entry {
  int shared = 0;
  bool exclusive = false;
};

std::mutex& registry_mutex() {
  static std::mutex m;
  return m;
}

std::map<std::string, Entry>& registry() {
  static std::map<std::string, Entry> r;
  return r;
}

}  // namespace

bool open_registry_acquire(const std::string& path, bool exclusive) {
  std::lock_guard lock(registry_mutex());
  auto& e = registry()[path];
  if (e.exclusive || (exclusive && e.shared > 0)) {
    if (!e.exclusive && e.shared == 0) registry().erase(path);
    return false;
  }
  if (exclusive)
    e.exclusive = true;
  else
    ++e.shared;
  return true;
}

void open_registry_release(const std::string& path, bool exclusive) {
  std::lock_guard lock(registry_mutex());
  auto it = registry().find(path);
  if (it == registry().end()) return;
  if (exclusive)
    it->second.exclusive = false;
  else if (it->second.shared > 0)
    --it->second.shared;
  if (!it->second.exclusive && it->second.shared == 0) registry().erase(it);
}

}  // namespace qxr::hid
