#include "emulator/report_descriptors.h"

#include <initializer_list>

namespace qxr::emu {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Collection 1 of keyboard and pad: a boot-style keyboard, report id 1, with LED output.
const Bytes kKeyboardCollection = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x06,        // Usage (Keyboard)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x05, 0x07,        //   Usage Page (Keyboard)
    0x19, 0xE0,        //   Usage Minimum (Left Control)
    0x29, 0xE7,        //   Usage Maximum (Right GUI)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x01,        //   Report Count (1)
    0x81, 0x01,        //   Input (Constant)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x00,  //   Usage Maximum (255)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x06,        //   Report Count (6)
    0x81, 0x00,        //   Input (Data, Array, Absolute)
    0x05, 0x08,        //   Usage Page (LEDs)
    0x19, 0x01,        //   Usage Minimum (Num Lock)
    0x29, 0x05,        //   Usage Maximum (Kana)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x05,        //   Report Count (5)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0x75, 0x03,        //   Report Size (3)
    0x95, 0x01,        //   Report Count (1)
    0x91, 0x01,        //   Output (Constant)
    0xC0,              // End Collection
};

// Collection 1 of the mouse: five buttons, 16-bit X/Y, wheel; report id 1.
const Bytes kMouseCollection = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x02,        // Usage (Mouse)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x09, 0x01,        //   Usage (Pointer)
    0xA1, 0x00,        //   Collection (Physical)
    0x05, 0x09,        //     Usage Page (Button)
    0x19, 0x01,        //     Usage Minimum (1)
    0x29, 0x05,        //     Usage Maximum (5)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x75, 0x01,        //     Report Size (1)
    0x95, 0x05,        //     Report Count (5)
    0x81, 0x02,        //     Input (Data, Variable, Absolute)
    0x75, 0x03,        //     Report Size (3)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x01,        //     Input (Constant)
    0x05, 0x01,        //     Usage Page (Generic Desktop)
    0x09, 0x30,        //     Usage (X)
    0x09, 0x31,        //     Usage (Y)
    0x16, 0x01, 0x80,  //     Logical Minimum (-32767)
    0x26, 0xFF, 0x7F,  //     Logical Maximum (32767)
    0x75, 0x10,        //     Report Size (16)
    0x95, 0x02,        //     Report Count (2)
    0x81, 0x06,        //     Input (Data, Variable, Relative)
    0x09, 0x38,        //     Usage (Wheel)
    0x15, 0x81,        //     Logical Minimum (-127)
    0x25, 0x7F,        //     Logical Maximum (127)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x06,        //     Input (Data, Variable, Relative)
    0xC0,              //   End Collection
    0xC0,              // End Collection
};

// Collection 2: system control (power, sleep, wake) as three bits; report id 2.
const Bytes kSystemControlCollection = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x80,  // Usage (System Control)
    0xA1, 0x01,  // Collection (Application)
    0x85, 0x02,  //   Report ID (2)
    0x19, 0x81,  //   Usage Minimum (System Power Down)
    0x29, 0x83,  //   Usage Maximum (System Wake Up)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x03,  //   Report Count (3)
    0x81, 0x02,  //   Input (Data, Variable, Absolute)
    0x95, 0x05,  //   Report Count (5)
    0x81, 0x01,  //   Input (Constant)
    0xC0,        // End Collection
};

// The device-event field: two 16-bit consumer usages, report id 3.
const Bytes kConsumerEventItems = {
    0x85, kConsumerEventReportId,  // Report ID (3)
    0x05, 0x0C,                    // Usage Page (Consumer)
    0x19, 0x00,                    // Usage Minimum (0)
    0x2A, 0xFF, 0x0F,              // Usage Maximum (0x0FFF)
    0x15, 0x00,                    // Logical Minimum (0)
    0x26, 0xFF, 0x0F,              // Logical Maximum (0x0FFF)
    0x75, 0x10,                    // Report Size (16)
    0x95, kConsumerEventSlots,     // Report Count (2)
    0x81, 0x00,                    // Input (Data, Array, Absolute)
};

// The command reports: 63 vendor bytes each way after report id 4.
const Bytes kCommandItems = {
    0x85, kCommandReportId,  // Report ID (4)
    0x06, 0x1C, 0xFF,        // Usage Page (Vendor 0xFF1C)
    0x09, 0x01,              // Usage (1)
    0x15, 0x00,              // Logical Minimum (0)
    0x26, 0xFF, 0x00,        // Logical Maximum (255)
    0x75, 0x08,              // Report Size (8)
    0x95, 0x3F,              // Report Count (63)
    0x81, 0x02,              // Input (Data, Variable, Absolute)
    0x09, 0x02,              // Usage (2)
    0x95, 0x3F,              // Report Count (63)
    0x91, 0x02,              // Output (Data, Variable, Absolute)
};

const Bytes kConsumerOpen = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01};  // Consumer Control, Application
const Bytes kVendorOpen = {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01};  // 0xFF1C:0x92, Application
const Bytes kEnd = {0xC0};

// The headset's own media keys (volume up, volume down, mute, play/pause), report id 1.
const Bytes kHeadsetKeyItems = {
    0x85, 0x01,  // Report ID (1)
    0x05, 0x0C,  // Usage Page (Consumer)
    0x09, 0xE9,  // Usage (Volume Increment)
    0x09, 0xEA,  // Usage (Volume Decrement)
    0x09, 0xE2,  // Usage (Mute)
    0x09, 0xCD,  // Usage (Play/Pause)
    0x15, 0x00,  // Logical Minimum (0)
    0x25, 0x01,  // Logical Maximum (1)
    0x75, 0x01,  // Report Size (1)
    0x95, 0x04,  // Report Count (4)
    0x81, 0x02,  // Input (Data, Variable, Absolute)
    0x95, 0x04,  // Report Count (4)
    0x81, 0x01,  // Input (Constant)
};

// The LED output report: 16 vendor bytes after report id 0xFF.
const Bytes kHeadsetLedItems = {
    0x85, kHeadsetLedReportId,  // Report ID (255)
    0x06, 0x1C, 0xFF,           // Usage Page (Vendor 0xFF1C)
    0x09, 0x03,                 // Usage (3)
    0x15, 0x00,                 // Logical Minimum (0)
    0x26, 0xFF, 0x00,           // Logical Maximum (255)
    0x75, 0x08,                 // Report Size (8)
    0x95, kHeadsetLedReportBytes - 1,  // Report Count (16)
    0x91, 0x02,                 // Output (Data, Variable, Absolute)
};

Bytes four_collections(const Bytes& first, const Bytes& second) {
  return join({first, second, kConsumerOpen, kConsumerEventItems, kEnd, kVendorOpen, kCommandItems,
               kEnd});
}

}  // namespace

std::vector<uint8_t> keyboard_report_descriptor() {
  return four_collections(kKeyboardCollection, kSystemControlCollection);
}

std::vector<uint8_t> mouse_report_descriptor() {
  return four_collections(kMouseCollection, kSystemControlCollection);
}

std::vector<uint8_t> pad_report_descriptor() {
  return four_collections(kKeyboardCollection, kSystemControlCollection);
}

std::vector<uint8_t> headset_report_descriptor() {
  return join({kConsumerOpen, kHeadsetKeyItems, kConsumerEventItems, kCommandItems, kHeadsetLedItems,
               kEnd});
}

}  // namespace qxr::emu
