#include "app/device_models.h"

#include <string>

#include "hid/supported_interfaces.h"

namespace qxr::app {

std::optional<size_t> find_model(uint16_t vendor_id, uint16_t product_id, uint16_t kind, uint16_t role) {
  for (size_t i = 0; i < kDeviceModels.size(); ++i) {
    const DeviceModel& m = kDeviceModels[i];
    if (m.vendor_id == vendor_id && m.product_id == product_id && m.kind == kind && m.role == role) return i;
  }
  return std::nullopt;
}

std::string_view entry_image_prefix(int kind, int variant) {
  switch (hid::device_class_of(static_cast<uint16_t>(kind))) {
    case hid::DeviceClass::Keyboard:
      return "kb";
    case hid::DeviceClass::Mouse:
      return "ms";
    case hid::DeviceClass::MousePad:
      return variant == 1 ? "soft_mp" : "hard_mp";
    case hid::DeviceClass::Headset:
      return "hd";
    case hid::DeviceClass::None:
      break;
  }
  return "unknow";
}

std::string entry_image(std::string_view prefix, EntryImage image) {
  static constexpr std::string_view kSuffix[] = {"_device_normal.png", "_device_selected.png",
                                                 "_device_synchro_normal.png", "_device_synchro_selected.png"};
  return "common/device_ico/" + std::string(prefix) + std::string(kSuffix[static_cast<int>(image)]);
}

std::string entry_name_key(std::string_view prefix) { return std::string(prefix) + "_device_name_text"; }

std::string_view arrival_line(int kind) {
  switch (hid::device_class_of(static_cast<uint16_t>(kind))) {
    case hid::DeviceClass::Keyboard:
      return "添加一个键盘设备";
    case hid::DeviceClass::Mouse:
      return "添加一个鼠标设备";
    case hid::DeviceClass::MousePad:
    case hid::DeviceClass::Headset:
      return "添加一个鼠标垫设备";
    case hid::DeviceClass::None:
      break;
  }
  return {};
}

std::string_view removal_line(int kind) {
  switch (hid::device_class_of(static_cast<uint16_t>(kind))) {
    case hid::DeviceClass::Keyboard:
      return "删除一个键盘设备";
    case hid::DeviceClass::Mouse:
      return "删除一个鼠标设备";
    case hid::DeviceClass::MousePad:
    case hid::DeviceClass::Headset:
      return "删除一个鼠标垫设备";
    case hid::DeviceClass::None:
      break;
  }
  return {};
}

}  // namespace qxr::app
