#pragma once
// The report descriptor each emulated device serves.
#include <cstdint>
#include <vector>

#include "emulator/device_type.h"

namespace qxr::emu {

std::vector<uint8_t> device_report_descriptor(DeviceType type);

}  // namespace qxr::emu
