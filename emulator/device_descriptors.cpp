#include "emulator/device_descriptors.h"

#include "emulator/report_descriptors.h"

namespace qxr::emu {

std::vector<uint8_t> device_report_descriptor(DeviceType type) {
  switch (type) {
    case DeviceType::Keyboard: return keyboard_report_descriptor();
    case DeviceType::Mouse: return mouse_report_descriptor();
    case DeviceType::Pad: return pad_report_descriptor();
    case DeviceType::Headset: return headset_report_descriptor();
  }
  return {};
}

}  // namespace qxr::emu
