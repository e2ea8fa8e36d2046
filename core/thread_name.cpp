#include "core/thread_name.h"

#include <pthread.h>

namespace qxr {

namespace {

std::string clipped(std::string_view name) { return std::string(name.substr(0, kThreadNameMax)); }

}  // namespace

std::string thread_name(std::string_view owner, std::string_view role) {
  if (owner.empty()) return clipped(role);
  std::string name(owner);
  name += ' ';
  name += role;
  return clipped(name);
}

void name_this_thread(std::string_view name) {
  if (name.empty()) return;
  pthread_setname_np(pthread_self(), clipped(name).c_str());
}

bool name_thread(std::thread& thread, std::string_view name) {
  if (!thread.joinable() || name.empty()) return false;
  return pthread_setname_np(thread.native_handle(), clipped(name).c_str()) == 0;
}

std::string this_thread_name() {
  char name[kThreadNameMax + 1] = {};
  if (pthread_getname_np(pthread_self(), name, sizeof name) != 0) return {};
  return name;
}

}  // namespace qxr
