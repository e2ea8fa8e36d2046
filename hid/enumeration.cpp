#include "hid/enumeration.h"

#include <cstdlib>
#include <mutex>
#include <optional>

#include "hid/device_path.h"
#include "hid/report_descriptor.h"

namespace qxr::hid {
namespace {

struct Config {
  std::mutex mutex;
  std::optional<std::string> emulator_dir;  // unset: from the environment
  bool hidraw = true;
  InterfaceSourceFactory hidraw_source;  // empty: libudev
};

Config& config() {
  static Config c;
  return c;
}

}  // namespace

void set_emulator_dir(const std::string& dir) {
  std::lock_guard lock(config().mutex);
  config().emulator_dir = dir;
}

void use_emulator_dir_from_environment() {
  std::lock_guard lock(config().mutex);
  config().emulator_dir.reset();
}

std::string emulator_dir() {
  std::lock_guard lock(config().mutex);
  if (config().emulator_dir) return *config().emulator_dir;
  const char* env = std::getenv(kEmulatorDirEnv);
  return env ? env : "";
}

void set_hidraw_enabled(bool on) {
  std::lock_guard lock(config().mutex);
  config().hidraw = on;
}

bool hidraw_enabled() {
  std::lock_guard lock(config().mutex);
  return config().hidraw;
}

void set_hidraw_source(InterfaceSourceFactory factory) {
  std::lock_guard lock(config().mutex);
  config().hidraw_source = std::move(factory);
}

namespace {

std::unique_ptr<InterfaceSource> hidraw_source() {
  InterfaceSourceFactory factory;
  {
    std::lock_guard lock(config().mutex);
    factory = config().hidraw_source;
  }
  return factory ? factory() : make_hidraw_source();
}

}  // namespace

void append_collection_paths(const InterfaceInfo& info, std::vector<std::string>* paths) {
  ReportDescriptor desc;
  if (!desc.parse(info.report_descriptor)) return;
  const size_t n = desc.collections().size();
  if (n == 1) {
    paths->push_back(make_path(info.node, info.vendor_id, info.product_id, info.interface_number, 0));
    return;
  }
  for (size_t c = 1; c <= n; ++c)
    paths->push_back(make_path(info.node, info.vendor_id, info.product_id, info.interface_number,
                               static_cast<uint16_t>(c)));
}

bool enumerate_interface_paths(std::vector<std::string>* paths) {
  std::vector<InterfaceInfo> found;
  if (hidraw_enabled() && !hidraw_source()->list(&found)) return false;
  const std::string dir = emulator_dir();
  if (!dir.empty() && !make_emulator_source(dir)->list(&found)) return false;
  for (const auto& info : found) append_collection_paths(info, paths);
  return true;
}

}  // namespace qxr::hid
