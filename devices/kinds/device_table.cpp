#include "devices/kinds/device_table.h"

#include <algorithm>

#include "devices/kinds/device_kinds.h"

namespace qxr::devices {
namespace {

void put(DeviceTableBlock& block, size_t index, uint32_t value) {
  for (size_t b = 0; b < sizeof value; ++b) block[index * sizeof value + b] = static_cast<uint8_t>(value >> (8 * b));
}

uint32_t get(std::span<const uint8_t> block, size_t index) {
  uint32_t value = 0;
  for (size_t b = 0; b < sizeof value; ++b) value |= uint32_t{block[index * sizeof value + b]} << (8 * b);
  return value;
}

}  // namespace

DeviceTableBlock make_device_table(std::span<const DeviceTableRow> rows) {
  DeviceTableBlock block{};
  for (size_t i = 0; i < kDeviceTableIdentification.size(); ++i) put(block, i, kDeviceTableIdentification[i]);
  const size_t count = std::min(rows.size(), kDeviceTableMaxRows);
  put(block, kDeviceTableCountIndex, static_cast<uint32_t>(count));
  for (size_t r = 0; r < count; ++r) {
    const size_t at = kDeviceTableFirstRow + kDeviceTableRowIntegers * r;
    put(block, at, rows[r].vendor_id);
    put(block, at + 1, rows[r].product_id);
    put(block, at + 2, rows[r].kind);
  }
  return block;
}

DeviceTableBlock device_table_block() {
  std::vector<DeviceTableRow> rows;
  for (const KindRow& row : device_kinds()) {
    rows.push_back({row.primary().vendor_id, row.primary().product_id, row.primary().kind});
  }
  return make_device_table(rows);
}

std::optional<std::vector<DeviceTableRow>> read_device_table(std::span<const uint8_t> block) {
  if (block.size() != kDeviceTableBytes) return std::nullopt;
  for (size_t i = 0; i < kDeviceTableIdentification.size(); ++i) {
    if (get(block, i) != kDeviceTableIdentification[i]) return std::nullopt;
  }
  const uint32_t count = get(block, kDeviceTableCountIndex);
  if (count > kDeviceTableMaxRows) return std::nullopt;
  std::vector<DeviceTableRow> rows(count);
  for (size_t r = 0; r < count; ++r) {
    const size_t at = kDeviceTableFirstRow + kDeviceTableRowIntegers * r;
    rows[r] = {get(block, at), get(block, at + 1), get(block, at + 2)};
  }
  return rows;
}

}  // namespace qxr::devices
