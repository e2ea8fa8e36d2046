#include "emulator/firmware.h"

#include <algorithm>

namespace qxr::emu {

namespace {
using namespace protocol;

// Colour parts of the headset's LED reports: which component of which LEDs they carry.
struct LedPart {
  uint8_t code;
  uint8_t component;  // 0 red, 1 green, 2 blue
  uint8_t first_led;
  uint8_t led_count;
};
constexpr LedPart kLedParts[] = {
    {0xAA, 0, 0, 7}, {0xAB, 1, 0, 7}, {0xAC, 2, 0, 7},
    {0xAD, 0, 7, 6}, {0xAE, 1, 7, 6}, {0xAF, 2, 7, 6},
};
constexpr uint8_t kLedSides[] = {kLedSideA, kLedSideB};
constexpr size_t kRgb = 3;
constexpr size_t kLedReportOffSide = 1;
constexpr size_t kLedReportOffPart = 2;
constexpr size_t kLedReportOffZero = 3;

// Memories whose writes belong inside a CMD_BEGIN … CMD_END group.
bool bracketed_memory(Memory m) {
  return m == Memory::kParams || m == Memory::kKeys || m == Memory::kMacros ||
         m == Memory::kRecoil;
}
}  // namespace

std::string_view refusal_name(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNone: return "none";
    case Refusal::kBadSize: return "bad report size";
    case Refusal::kBadChecksum: return "bad checksum";
    case Refusal::kUnknownCommand: return "unknown command";
    case Refusal::kBadLength: return "page length above the page size";
    case Refusal::kOutOfRange: return "address out of range";
    case Refusal::kOutOfSequence: return "image page out of sequence";
    case Refusal::kBadImage: return "bad image";
  }
  return "?";
}

Firmware::Firmware(const FirmwareLayout& layout) : layout_(layout) {
  mem(Memory::kInfo).assign(layout.info.begin(), layout.info.end());
  mem(Memory::kKeys) = layout.key_table;
  mem(Memory::kLedMap) = layout.led_map;
  mem(Memory::kParams).assign(layout.params.memory_size(), 0);
  // Lower profiles last, so that where the windows overlap profile 0's block is intact.
  auto& params = mem(Memory::kParams);
  for (size_t p = layout.params.profiles; p-- > 0;) {
    size_t at = p * layout.params.write_stride;
    size_t n = std::min(layout.default_block.size(), params.size() - std::min(at, params.size()));
    std::copy_n(layout.default_block.begin(), n, params.begin() + static_cast<long>(at));
  }
  if (!params.empty()) params[kParamOffActiveProfile] = 0;
  mem(Memory::kKeyColours).assign(layout.colour_slots * kColourSlotSize, 0);
  mem(Memory::kMacros).assign(layout.macro_capacity, 0);
  mem(Memory::kRecoil).assign(layout.recoil_capacity, 0);
  mem(Memory::kStatus).assign(layout.status.begin(), layout.status.end());
  mem(Memory::kLightFrame).assign(layout.light_stream_bytes, 0);
  mem(Memory::kHeadsetLeds).assign(layout.led_reports ? 2 * kHeadsetLedCount * kRgb : 0, 0);
}

bool Firmware::page_allowed(const CommandEntry& entry, size_t address, size_t length) const {
  const size_t end = address + length;
  switch (entry.memory) {
    case Memory::kParams:
      return entry.access == Access::kRead ? layout_.params.read_allowed(address, length)
                                           : layout_.params.write_allowed(address, length);
    case Memory::kKeyColours: {
      size_t slot = address / kColourSlotSize;
      return slot < layout_.colour_slots && end <= (slot + 1) * kColourSlotSize;
    }
    case Memory::kKeys:
      return end <= layout_.key_count() * kKeyCodeSize;
    case Memory::kLedMap:
      return end <= layout_.key_count();
    default:
      return end <= mem(entry.memory).size();
  }
}

CommandReport Firmware::handle_command(const uint8_t* report, size_t size) {
  CommandReport reply{};
  reply[kOffReportId] = kCommandReportId;
  const uint8_t command = size > kOffCommand ? report[kOffCommand] : 0;
  reply[kOffCommand] = command;
  last_refusal_ = Refusal::kNone;
  auto refuse = [&](Refusal why) {
    last_refusal_ = why;
    ++counters_.refused;
    reply[kOffStatus] = kStatusError;
    set_checksum(reply.data());
    return reply;
  };
  if (size != kReportSize) return refuse(Refusal::kBadSize);
  ++counters_.requests;
  if (!checksum_ok(report)) {
    ++counters_.bad_checksum;
    return refuse(Refusal::kBadChecksum);
  }
  ++counters_.per_command[command];
  reply[kOffLength] = report[kOffLength];
  reply[kOffOffsetLo] = report[kOffOffsetLo];
  reply[kOffOffsetHi] = report[kOffOffsetHi];

  const CommandEntry* entry = find_command(command);
  if (entry == nullptr || !layout_.answers(command)) return refuse(Refusal::kUnknownCommand);

  switch (entry->access) {
    case Access::kControl:
      if (command == CMD_BEGIN) in_transaction_ = true;
      if (command == CMD_END) in_transaction_ = false;
      if (command == CMD_HOST_LIGHTING) host_lighting_ = true;
      break;
    case Access::kLinkQuery:
      reply[kOffData] = linked_ ? kLinkUpAnswer : 0;
      break;
    case Access::kRead:
    case Access::kWrite: {
      const size_t length = report[kOffLength];
      const size_t address = report_offset(report);
      if (length > kPageSize) return refuse(Refusal::kBadLength);
      if (!page_allowed(*entry, address, length)) return refuse(Refusal::kOutOfRange);
      if (entry->access == Access::kRead) {
        const auto& m = mem(entry->memory);
        std::copy_n(m.begin() + static_cast<long>(address), length, reply.begin() + kOffData);
      } else {
        if (bracketed_memory(entry->memory) && !in_transaction_) ++counters_.unbracketed_writes;
        Refusal why = write_page(entry->memory, address, report + kOffData, length);
        if (why != Refusal::kNone) return refuse(why);
      }
      break;
    }
  }
  set_checksum(reply.data());
  return reply;
}

Refusal Firmware::write_page(Memory memory, size_t address, const uint8_t* data, size_t length) {
  auto& m = mem(memory);
  switch (memory) {
    case Memory::kMacros:
      return write_image_page(macro_, m, -1, address, data, length);
    case Memory::kRecoil:
      return write_image_page(recoil_, m, layout_.recoil_records, address, data, length);
    case Memory::kLightFrame:
      if (address == 0) {
        // A new frame: pages the host dropped must not show the previous frame's colours.
        ++counters_.light_frames;
        std::fill(m.begin(), m.end(), 0);
        light_frame_end_ = 0;
      }
      light_frame_end_ = std::max(light_frame_end_, address + length);
      break;
    default:
      break;
  }
  std::copy_n(data, length, m.begin() + static_cast<long>(address));
  return Refusal::kNone;
}

Refusal Firmware::write_image_page(ImageInfo& image, std::vector<uint8_t>& m,
                                   int expected_records, size_t address, const uint8_t* data,
                                   size_t length) {
  auto fail = [&](BlobError error) {
    image.state = ImageState::kInvalid;
    image.error = error;
    image.records.clear();
    return Refusal::kBadImage;
  };
  if (address == 0) {
    image = ImageInfo{};
    image.state = ImageState::kReceiving;
    if (length >= 2 && read_le16(data + kBlobOffMagic) != kBlobMagic) {
      return fail(BlobError::kBadMagic);
    }
  } else if (image.state != ImageState::kReceiving || address != image.received) {
    return Refusal::kOutOfSequence;
  }
  std::copy_n(data, length, m.begin() + static_cast<long>(address));
  image.received = address + length;
  if (image.announced == 0 && image.received >= kBlobOffLength + 2) {
    image.announced = read_le16(m.data() + kBlobOffLength);
    if (image.announced < kBlobHeaderSize || image.announced > m.size()) {
      return fail(BlobError::kBadLength);
    }
  }
  if (image.announced != 0 && image.received > image.announced) {
    return fail(BlobError::kLengthMismatch);
  }
  if (image.announced != 0 && image.received == image.announced) {
    std::vector<BlobRecord> records;
    BlobError error = check_blob(m.data(), image.announced, expected_records, &records);
    if (error != BlobError::kNone) return fail(error);
    image.state = ImageState::kValid;
    image.records = std::move(records);
  }
  return Refusal::kNone;
}

bool Firmware::handle_led_report(const uint8_t* report, size_t size) {
  if (!layout_.led_reports) return false;
  ++counters_.led_reports;
  auto refuse = [&] {
    ++counters_.led_reports_refused;
    return false;
  };
  if (size != kLedReportSize || report[0] != kLedReportId || report[kLedReportOffZero] != 0) {
    return refuse();
  }
  auto side = std::find(std::begin(kLedSides), std::end(kLedSides), report[kLedReportOffSide]);
  if (side == std::end(kLedSides)) return refuse();
  const LedPart* part = nullptr;
  for (const LedPart& p : kLedParts) {
    if (p.code == report[kLedReportOffPart]) part = &p;
  }
  if (part == nullptr) return refuse();
  const uint8_t* values = report + kLedReportFirstValue;
  // The chip takes 248 and above as control values; a component there is a host fault.
  if (std::any_of(values, values + part->led_count, [](uint8_t v) { return v > kLedComponentMax; })) {
    return refuse();
  }
  auto& leds = mem(Memory::kHeadsetLeds);
  size_t side_base = static_cast<size_t>(side - std::begin(kLedSides)) * kHeadsetLedCount * kRgb;
  for (size_t i = 0; i < part->led_count; ++i) {
    leds[side_base + (part->first_led + i) * kRgb + part->component] = values[i];
  }
  return true;
}

std::vector<uint8_t> Firmware::memory(Memory memory) const {
  const auto& m = mem(memory);
  if (memory == Memory::kLightFrame) {
    return std::vector<uint8_t>(m.begin(), m.begin() + static_cast<long>(light_frame_end_));
  }
  return m;
}

std::vector<uint8_t> Firmware::settings_block(uint8_t profile) const {
  const auto& params = mem(Memory::kParams);
  if (profile >= layout_.params.profiles) return {};
  size_t at = size_t{profile} * layout_.params.write_stride;
  size_t end = std::min(params.size(), at + layout_.params.write_size);
  return std::vector<uint8_t>(params.begin() + static_cast<long>(at),
                              params.begin() + static_cast<long>(end));
}

uint8_t Firmware::active_profile() const {
  const auto& params = mem(Memory::kParams);
  return params.empty() ? 0 : params[kParamOffActiveProfile];
}

bool Firmware::set_active_profile(uint8_t profile) {
  auto& params = mem(Memory::kParams);
  if (profile >= layout_.params.profiles || params.empty()) return false;
  params[kParamOffActiveProfile] = profile;
  return true;
}

void Firmware::set_status_byte(size_t index, uint8_t value) {
  auto& status = mem(Memory::kStatus);
  if (index < status.size()) status[index] = value;
}

bool Firmware::poke(Memory memory, size_t address, const std::vector<uint8_t>& bytes) {
  auto& m = mem(memory);
  if (address > m.size() || bytes.size() > m.size() - address) return false;
  std::copy(bytes.begin(), bytes.end(), m.begin() + static_cast<long>(address));
  if (memory == Memory::kLightFrame) light_frame_end_ = std::max(light_frame_end_, address + bytes.size());
  return true;
}

}  // namespace qxr::emu
