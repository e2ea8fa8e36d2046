#include "emulator/emulator.h"

#include <fmt/format.h>

#include "emulator/device_descriptors.h"
#include "emulator/emulated_device.h"
#include "emulator/event_report.h"
#include "emulator/folder_server.h"

namespace qxr::emu {

Emulator::Emulator(std::string dir) : server_(std::make_unique<FolderServer>(std::move(dir))) {
  for (DeviceType type : kAllDeviceTypes) {
    devices_.push_back(std::make_shared<EmulatedDevice>(type, device_report_descriptor(type)));
  }
}

Emulator::~Emulator() { stop(); }

bool Emulator::start(const std::vector<DeviceType>& plugged) {
  if (!server_->start()) return false;
  bool ok = true;
  for (DeviceType type : plugged) ok = plug(type) && ok;
  return ok;
}

void Emulator::stop() { server_->stop(); }

const std::string& Emulator::dir() const { return server_->dir(); }

EmulatedDevice& Emulator::device(DeviceType type) const {
  return *devices_[static_cast<size_t>(type)];
}

bool Emulator::plug(DeviceType type) {
  EmulatedDevice& d = device(type);
  return server_->plug(d.description(), devices_[static_cast<size_t>(type)]);
}

bool Emulator::unplug(DeviceType type) { return server_->unplug(device(type).description().id); }

bool Emulator::plugged(DeviceType type) const {
  return server_->plugged(device(type).description().id);
}

size_t Emulator::connection_count(DeviceType type) const {
  return server_->connection_count(device(type).description().id);
}

std::string Emulator::json_path(DeviceType type) const {
  return server_->json_path(device(type).description().id);
}

std::string Emulator::socket_path(DeviceType type) const {
  return server_->socket_path(device(type).description().id);
}

std::string Emulator::hid_path(DeviceType type, int collection) const {
  const InterfaceDescription& d = device(type).description();
  std::string path = fmt::format("{}#vid_{:04x}&pid_{:04x}&mi_{:02x}", socket_path(type),
                                 d.vendor_id, d.product_id, d.interface_number);
  if (collection > 0) path += fmt::format("&col{:02x}", collection);
  return path;
}

bool Emulator::raise_event(DeviceType type, uint16_t code) {
  auto report = device(type).event_report(code);
  return report && server_->send_input(device(type).description().id, *report);
}

bool Emulator::press_key(DeviceType type, uint8_t position) {
  return raise_event(type, static_cast<uint16_t>(kEventKeyPressBase + position));
}

bool Emulator::release_key(DeviceType type, uint8_t position) {
  return raise_event(type, static_cast<uint16_t>(kEventKeyReleaseBase + position));
}

bool Emulator::settings_changed(DeviceType type, uint16_t code) { return raise_event(type, code); }

bool Emulator::set_active_profile(DeviceType type, uint8_t profile, bool notify) {
  bool ok = device(type).change_firmware([&](Firmware& f) { return f.set_active_profile(profile); });
  if (ok && notify) ok = raise_event(type, kEventSettingsChanged);
  return ok;
}

void Emulator::set_battery(DeviceType type, uint8_t level, uint8_t charging_state) {
  device(type).change_firmware([&](Firmware& f) {
    f.set_status_byte(kStatusOffBattery, level);
    f.set_status_byte(kStatusOffCharging, charging_state);
  });
}

void Emulator::set_phone_type(DeviceType type, uint8_t phone_type) {
  set_status_byte(type, kStatusOffPhoneType, phone_type);
}

void Emulator::set_status_byte(DeviceType type, size_t index, uint8_t value) {
  device(type).change_firmware([&](Firmware& f) { f.set_status_byte(index, value); });
}

void Emulator::set_linked(DeviceType type, bool linked) {
  device(type).change_firmware([&](Firmware& f) { f.set_linked(linked); });
}

void Emulator::set_fault(DeviceType type, FaultMode mode, uint32_t arg) {
  device(type).set_fault(mode, arg);
}

bool Emulator::poke(DeviceType type, Memory memory, size_t address,
                    const std::vector<uint8_t>& bytes) {
  return device(type).change_firmware([&](Firmware& f) { return f.poke(memory, address, bytes); });
}

std::vector<uint8_t> Emulator::memory(DeviceType type, Memory memory) const {
  return device(type).with_firmware([&](const Firmware& f) { return f.memory(memory); });
}

std::vector<uint8_t> Emulator::settings_block(DeviceType type, uint8_t profile) const {
  return device(type).with_firmware([&](const Firmware& f) { return f.settings_block(profile); });
}

uint8_t Emulator::active_profile(DeviceType type) const {
  return device(type).with_firmware([](const Firmware& f) { return f.active_profile(); });
}

ImageInfo Emulator::macro_image(DeviceType type) const {
  return device(type).with_firmware([](const Firmware& f) { return f.macro_image(); });
}

ImageInfo Emulator::recoil_image(DeviceType type) const {
  return device(type).with_firmware([](const Firmware& f) { return f.recoil_image(); });
}

FirmwareCounters Emulator::counters(DeviceType type) const {
  return device(type).with_firmware([](const Firmware& f) { return f.counters(); });
}

uint32_t Emulator::exchanges(DeviceType type, uint8_t command) const {
  return device(type).with_firmware(
      [&](const Firmware& f) { return f.counters().per_command[command]; });
}

Refusal Emulator::last_refusal(DeviceType type) const {
  return device(type).with_firmware([](const Firmware& f) { return f.last_refusal(); });
}

bool Emulator::host_lighting(DeviceType type) const {
  return device(type).with_firmware([](const Firmware& f) { return f.host_lighting(); });
}

bool Emulator::in_transaction(DeviceType type) const {
  return device(type).with_firmware([](const Firmware& f) { return f.in_transaction(); });
}

void Emulator::reset_counters(DeviceType type) {
  device(type).change_firmware([](Firmware& f) { f.reset_counters(); });
}

}  // namespace qxr::emu
