#pragma once
// The device table handed to diagnostic tools: 1024 bytes of little-endian 32-bit integers,
// zero-filled. Integers 0-3 hold the identification bytes 2, 3, 0, 2 (one per integer),
// integer 4 the number of model rows, then three integers per row in the kinds' order: the
// vendor id, product id and kind of the row's primary interface.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qxr::devices {

inline constexpr size_t kDeviceTableBytes = 1024;
inline constexpr std::array<uint8_t, 4> kDeviceTableIdentification = {2, 3, 0, 2};
inline constexpr size_t kDeviceTableCountIndex = 4;
inline constexpr size_t kDeviceTableFirstRow = 5;
inline constexpr size_t kDeviceTableRowIntegers = 3;
inline constexpr size_t kDeviceTableMaxRows =
    (kDeviceTableBytes / sizeof(uint32_t) - kDeviceTableFirstRow) / kDeviceTableRowIntegers;

using DeviceTableBlock = std::array<uint8_t, kDeviceTableBytes>;

struct DeviceTableRow {
  uint32_t vendor_id = 0;
  uint32_t product_id = 0;
  uint32_t kind = 0;
  bool operator==(const DeviceTableRow&) const = default;
};

// The block of the rows given; rows past the block's room are left out.
DeviceTableBlock make_device_table(std::span<const DeviceTableRow> rows);
// The block of the device kinds' rows.
DeviceTableBlock device_table_block();
// The rows of a block; nothing when its size, identification or row count is wrong.
std::optional<std::vector<DeviceTableRow>> read_device_table(std::span<const uint8_t> block);

}  // namespace qxr::devices
