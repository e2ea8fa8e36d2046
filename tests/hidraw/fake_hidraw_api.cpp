#include "tests/hidraw/fake_hidraw_api.h"

#include <dlfcn.h>

namespace qxr::testing {

FakeHidraw fake_hidraw() {
  FakeHidraw f;
  f.plug = reinterpret_cast<decltype(f.plug)>(dlsym(RTLD_DEFAULT, "qxr_fake_hidraw_plug"));
  f.unplug = reinterpret_cast<decltype(f.unplug)>(dlsym(RTLD_DEFAULT, "qxr_fake_hidraw_unplug"));
  f.deny = reinterpret_cast<decltype(f.deny)>(dlsym(RTLD_DEFAULT, "qxr_fake_hidraw_deny"));
  f.open_handles = reinterpret_cast<decltype(f.open_handles)>(dlsym(RTLD_DEFAULT, "qxr_fake_hidraw_open_handles"));
  f.unknown_requests =
      reinterpret_cast<decltype(f.unknown_requests)>(dlsym(RTLD_DEFAULT, "qxr_fake_hidraw_unknown_requests"));
  if (!f.plug || !f.unplug || !f.deny || !f.open_handles || !f.unknown_requests) return FakeHidraw{};
  return f;
}

}  // namespace qxr::testing
