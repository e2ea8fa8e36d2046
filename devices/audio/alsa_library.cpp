#include "devices/audio/alsa_library.h"

#include <dlfcn.h>

#include <type_traits>

#include "core/debug_line.h"

namespace qxr::audio {
namespace {

const char* last_dl_error() {
  const char* text = ::dlerror();
  return text != nullptr ? text : "unknown error";
}

}  // namespace

std::unique_ptr<AlsaLibrary> AlsaLibrary::load(const std::string& soname) {
  // Local, so that libasound's symbols never answer other modules' lookups.
  void* handle = ::dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    debug_fmt("dlopen {}: {}", soname, last_dl_error());
    return nullptr;
  }
  std::unique_ptr<AlsaLibrary> lib(new AlsaLibrary(handle));
  const auto bind = [&](auto& slot, const char* name) {
    void* symbol = ::dlsym(handle, name);
    if (symbol == nullptr) {
      debug_fmt("{}: no {}", soname, name);
      return false;
    }
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(symbol);
    return true;
  };
#define QXR_ALSA_BIND(name) \
  if (!bind(lib->name, #name)) return nullptr;
  QXR_ALSA_CALLS(QXR_ALSA_BIND)
#undef QXR_ALSA_BIND
  return lib;
}

AlsaLibrary::~AlsaLibrary() { ::dlclose(handle_); }

const AlsaLibrary* system_alsa_library() {
  // Never unloaded: a mixer destroyed during exit may still call through it.
  static const AlsaLibrary* const lib = AlsaLibrary::load(ALSA_LIBRARY_SONAME).release();
  return lib;
}

}  // namespace qxr::audio
