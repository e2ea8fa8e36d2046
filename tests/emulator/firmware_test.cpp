// The firmware engine, driven the way the program pages its commands.
#include <gtest/gtest.h>

#include <set>

#include "emulator/firmware.h"
#include "raw_client.h"

namespace qxr::emu {
namespace {

using namespace protocol;
using testing::Bytes;
using testing::page;

constexpr uint8_t kOk = 0;

class Device {
 public:
  explicit Device(DeviceType type) : fw(firmware_layout(type)) {}

  CommandReport send(const CommandReport& request) {
    return fw.handle_command(request.data(), request.size());
  }
  CommandReport cmd(uint8_t command, uint8_t length = 0, uint16_t offset = 0,
                    const uint8_t* data = nullptr) {
    return send(page(command, length, offset, data));
  }
  // Pages of 56 bytes from base, as the command set pages every data command; stops at the
  // first refused page and returns its status.
  uint8_t read(uint8_t command, size_t n, size_t base, Bytes* out) {
    out->assign(n, 0);
    for (size_t pos = 0; pos < n; pos += kPageSize) {
      auto len = static_cast<uint8_t>(std::min(kPageSize, n - pos));
      CommandReport reply = cmd(command, len, static_cast<uint16_t>(base + pos));
      if (reply[kOffStatus] != kOk) return reply[kOffStatus];
      std::copy_n(reply.begin() + kOffData, len, out->begin() + static_cast<long>(pos));
    }
    return kOk;
  }
  uint8_t write(uint8_t command, const Bytes& data, size_t base) {
    for (size_t pos = 0; pos < data.size(); pos += kPageSize) {
      auto len = static_cast<uint8_t>(std::min(kPageSize, data.size() - pos));
      CommandReport reply = cmd(command, len, static_cast<uint16_t>(base + pos), data.data() + pos);
      if (reply[kOffStatus] != kOk) return reply[kOffStatus];
    }
    return kOk;
  }
  uint8_t bracketed_write(uint8_t command, const Bytes& data, size_t base) {
    cmd(CMD_BEGIN);
    uint8_t status = write(command, data, base);
    cmd(CMD_END);
    return status;
  }

  Firmware fw;
};

Bytes pattern(size_t n, uint8_t seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed + i * 7);
  return b;
}

TEST(FirmwareFraming, BadChecksumIsRefusedWithStatusFFAndNothingIsWritten) {
  Device kb(DeviceType::Keyboard);
  Bytes before = kb.fw.memory(Memory::kParams);
  CommandReport request = page(CMD_WRITE_PARAMS, 3, 0, Bytes{9, 9, 9}.data());
  request[kOffChecksumLo] ^= 0x01;
  CommandReport reply = kb.send(request);
  EXPECT_EQ(reply[kOffStatus], kStatusError);
  EXPECT_EQ(reply[kOffCommand], CMD_WRITE_PARAMS);
  EXPECT_EQ(kb.fw.last_refusal(), Refusal::kBadChecksum);
  EXPECT_EQ(kb.fw.memory(Memory::kParams), before);
  EXPECT_EQ(kb.fw.counters().bad_checksum, 1u);
  // A data byte changed after the checksum was computed is caught the same way.
  CommandReport tampered = page(CMD_READ_INFO, 34, 0);
  tampered[40] = 1;
  EXPECT_EQ(kb.send(tampered)[kOffStatus], kStatusError);
}

TEST(FirmwareFraming, ReplyEchoesCommandLengthOffsetAndCarriesAValidChecksum) {
  Device kb(DeviceType::Keyboard);
  CommandReport reply = kb.cmd(CMD_READ_KEYS, 10, 300);
  EXPECT_EQ(reply[kOffReportId], kCommandReportId);
  EXPECT_EQ(reply[kOffCommand], CMD_READ_KEYS);
  EXPECT_EQ(reply[kOffLength], 10);
  EXPECT_EQ(report_offset(reply.data()), 300);
  EXPECT_EQ(reply[kOffStatus], kOk);
  EXPECT_TRUE(checksum_ok(reply.data()));
  const Bytes& keys = kb.fw.layout().key_table;
  EXPECT_TRUE(std::equal(keys.begin() + 300, keys.begin() + 310, reply.begin() + kOffData));
}

TEST(FirmwareFraming, ShortReportsAndLongPagesAreRefused) {
  Device kb(DeviceType::Keyboard);
  CommandReport ok = page(CMD_BEGIN);
  EXPECT_EQ(kb.fw.handle_command(ok.data(), 63)[kOffStatus], kStatusError);
  EXPECT_EQ(kb.fw.last_refusal(), Refusal::kBadSize);
  EXPECT_EQ(kb.cmd(CMD_READ_KEYS, 57, 0)[kOffStatus], kStatusError);
  EXPECT_EQ(kb.fw.last_refusal(), Refusal::kBadLength);
}

TEST(FirmwareCommands, EachModelAnswersOnlyItsCommands) {
  struct Case {
    DeviceType type;
    uint8_t command;
    bool answered;
  };
  const Case cases[] = {
      {DeviceType::Keyboard, CMD_WRITE_MACROS, true},  {DeviceType::Keyboard, CMD_WRITE_RECOIL, false},
      {DeviceType::Keyboard, CMD_HOST_LIGHTING, true}, {DeviceType::Mouse, CMD_WRITE_RECOIL, true},
      {DeviceType::Mouse, CMD_LINK_QUERY, true},       {DeviceType::Mouse, CMD_READ_LED_MAP, false},
      {DeviceType::Mouse, CMD_WRITE_MACROS, false},    {DeviceType::Pad, CMD_READ_KEYS, false},
      {DeviceType::Pad, CMD_LIGHT_STREAM, true},       {DeviceType::Headset, CMD_LIGHT_STREAM, false},
      {DeviceType::Headset, CMD_READ_STATUS, true},    {DeviceType::Keyboard, 0x04, false},
  };
  for (const Case& c : cases) {
    Device d(c.type);
    d.cmd(CMD_BEGIN);
    CommandReport reply = d.cmd(c.command, 1, 0, Bytes{0xAA}.data());
    EXPECT_EQ(reply[kOffStatus] != kStatusError, c.answered)
        << device_type_name(c.type) << " command " << int(c.command);
  }
}

TEST(FirmwareCommands, BeginEndAndHostLightingAreTracked) {
  Device kb(DeviceType::Keyboard);
  EXPECT_FALSE(kb.fw.in_transaction());
  kb.cmd(CMD_BEGIN);
  EXPECT_TRUE(kb.fw.in_transaction());
  kb.write(CMD_WRITE_PARAMS, Bytes(26, 0), 0);
  kb.cmd(CMD_END);
  EXPECT_FALSE(kb.fw.in_transaction());
  EXPECT_EQ(kb.fw.counters().unbracketed_writes, 0u);
  kb.write(CMD_WRITE_PARAMS, Bytes(26, 0), 0);
  EXPECT_EQ(kb.fw.counters().unbracketed_writes, 1u);
  // Colour uploads and light frames travel outside groups; they are not counted.
  kb.write(CMD_WRITE_KEY_COLOURS, Bytes(30, 1), 0);
  EXPECT_EQ(kb.fw.counters().unbracketed_writes, 1u);
  EXPECT_FALSE(kb.fw.host_lighting());
  kb.cmd(CMD_HOST_LIGHTING);
  EXPECT_TRUE(kb.fw.host_lighting());
  EXPECT_EQ(kb.fw.counters().per_command[CMD_BEGIN], 1u);
  EXPECT_EQ(kb.fw.counters().per_command[CMD_WRITE_PARAMS], 2u);
}

TEST(FirmwareInfo, InformationBlocksCarryWhatTheDeviceClassesRead) {
  Device kb(DeviceType::Keyboard);
  Bytes info;
  ASSERT_EQ(kb.read(CMD_READ_INFO, kInfoSize, 0, &info), kOk);
  const size_t keys = info[kInfoOffKeyCount];
  EXPECT_GT(keys, 100u);
  EXPECT_LE(keys * kKeyCodeSize, 512u);  // the key table must fit the channel's data length
  EXPECT_EQ(info[kInfoOffMacroCapacity] * kMacroCapacityUnit, kb.fw.memory(Memory::kMacros).size());
  EXPECT_EQ(kb.cmd(CMD_READ_INFO, 1, kInfoSize)[kOffStatus], kStatusError);

  Device mouse(DeviceType::Mouse);
  ASSERT_EQ(mouse.read(CMD_READ_INFO, kInfoSize, 0, &info), kOk);
  const unsigned step = info[kInfoOffDpiStep];
  const unsigned slider_max = read_le16(&info[kInfoOffDpiSliderMax]);
  const unsigned dpi_min = read_le16(&info[kInfoOffDpiMin]);
  EXPECT_GT(step, 0u);
  EXPECT_GT(slider_max, 0u);
  EXPECT_LT(dpi_min, slider_max * step);
  EXPECT_EQ(info[kInfoOffKeyCount] * kKeyCodeSize, mouse.fw.memory(Memory::kKeys).size());
}

TEST(FirmwareKeys, KeyboardTableHoldsDistinctCodesAndLedsThatFitTheStream) {
  Device kb(DeviceType::Keyboard);
  const size_t keys = kb.fw.layout().key_count();
  Bytes table, leds;
  // Read as the program does: the channel's data length, then a third of it.
  ASSERT_EQ(kb.read(CMD_READ_KEYS, keys * kKeyCodeSize, 0, &table), kOk);
  ASSERT_EQ(kb.read(CMD_READ_LED_MAP, keys, 0, &leds), kOk);
  std::set<std::array<uint8_t, 3>> codes;
  std::set<uint8_t> led_indices;
  size_t present = 0, moved = 0;
  for (size_t p = 0; p < keys; ++p) {
    std::array<uint8_t, 3> code = {table[p * 3], table[p * 3 + 1], table[p * 3 + 2]};
    if (code == std::array<uint8_t, 3>{0, 0, 0}) {
      EXPECT_EQ(leds[p], kNoLed) << "empty cell " << p << " has an LED";
      continue;
    }
    ++present;
    EXPECT_TRUE(codes.insert(code).second) << "code at position " << p << " repeats";
    ASSERT_NE(leds[p], kNoLed) << "key at position " << p << " has no LED";
    EXPECT_LT(size_t{leds[p]} * 3 + 2, kb.fw.layout().light_stream_bytes);
    EXPECT_TRUE(led_indices.insert(leds[p]).second) << "LED " << int(leds[p]) << " repeats";
    moved += leds[p] != p;
  }
  EXPECT_GT(present, 100u);
  EXPECT_GT(moved, 0u) << "LED order equal to key order would hide a missing LED map";
  // Esc, A and left Shift are where a program using the default codes looks for them.
  EXPECT_TRUE(codes.count({0x20, 0x00, 0x29}));
  EXPECT_TRUE(codes.count({0x20, 0x00, 0x04}));
  EXPECT_TRUE(codes.count({0x20, 0x02, 0x00}));
  // Past the table: refused.
  EXPECT_EQ(kb.cmd(CMD_READ_KEYS, 1, static_cast<uint16_t>(keys * 3))[kOffStatus], kStatusError);
  EXPECT_EQ(kb.cmd(CMD_READ_LED_MAP, 2, static_cast<uint16_t>(keys - 1))[kOffStatus], kStatusError);
}

TEST(FirmwareKeys, MouseButtonsUseTheButtonCodesInTheirWiredOrder) {
  Device mouse(DeviceType::Mouse);
  Bytes table;
  ASSERT_EQ(mouse.read(CMD_READ_KEYS, mouse.fw.layout().key_count() * 3, 0, &table), kOk);
  auto position_of = [&](std::array<uint8_t, 3> code) {
    for (size_t p = 0; p * 3 < table.size(); ++p) {
      if (table[p * 3] == code[0] && table[p * 3 + 1] == code[1] && table[p * 3 + 2] == code[2]) {
        return static_cast<int>(p);
      }
    }
    return -1;
  };
  EXPECT_EQ(position_of({0x10, 0x01, 0}), 0);
  EXPECT_GE(position_of({0x10, 0x10, 0}), 0);
  EXPECT_GE(position_of({0x10, 0x08, 0}), 0);
  // Forward (logical 3) and back (logical 4) are not in logical order on this mouse.
  EXPECT_GT(position_of({0x10, 0x10, 0}), position_of({0x10, 0x08, 0}));
  EXPECT_EQ(position_of({0xA0, 0x1B, 0}), -1);  // a button this mouse does not have
}

TEST(FirmwareKeys, KeyTableWriteCoversIndexZeroOnly) {
  Device kb(DeviceType::Keyboard);
  const size_t n = kb.fw.layout().key_count() * 3;
  Bytes table = pattern(n, 3);
  EXPECT_EQ(kb.bracketed_write(CMD_WRITE_KEYS, table, 0), kOk);
  EXPECT_EQ(kb.fw.memory(Memory::kKeys), table);
  EXPECT_EQ(kb.write(CMD_WRITE_KEYS, Bytes(3, 1), kKeyTablePageSize), kStatusError);
  EXPECT_EQ(kb.write(CMD_WRITE_KEYS, Bytes(4, 1), n - 3), kStatusError);
  EXPECT_EQ(kb.fw.memory(Memory::kKeys), table);
}

TEST(FirmwareParams, AddressZeroIsTheActiveProfile) {
  Device kb(DeviceType::Keyboard);
  Bytes active;
  ASSERT_EQ(kb.read(CMD_READ_PARAMS, 1, 0, &active), kOk);
  EXPECT_EQ(active[0], 0);
  ASSERT_TRUE(kb.fw.set_active_profile(2));
  ASSERT_EQ(kb.read(CMD_READ_PARAMS, 1, 0, &active), kOk);
  EXPECT_EQ(active[0], 2);
  EXPECT_FALSE(kb.fw.set_active_profile(kb.fw.layout().params.profiles));
}

struct WindowCase {
  DeviceType type;
  size_t read_stride, read_size, write_stride, write_size;
};

class ParamWindows : public ::testing::TestWithParam<WindowCase> {};

TEST_P(ParamWindows, BlocksAreReadAndWrittenOnlyWhereTheProgramAddressesThem) {
  const WindowCase c = GetParam();
  Device d(c.type);
  const size_t profiles = d.fw.layout().params.profiles;
  Bytes block;
  for (size_t p = 0; p < profiles; ++p) {
    EXPECT_EQ(d.read(CMD_READ_PARAMS, c.read_size, p * c.read_stride, &block), kOk) << p;
    EXPECT_EQ(d.bracketed_write(CMD_WRITE_PARAMS, pattern(c.write_size, uint8_t(p)), p * c.write_stride), kOk) << p;
    EXPECT_EQ(d.fw.settings_block(static_cast<uint8_t>(p)), pattern(c.write_size, uint8_t(p)));
  }
  const Bytes before = d.fw.memory(Memory::kParams);
  // A page running one byte past the last block, a block beyond the last profile, a block off
  // its stride.
  const size_t last_write = (profiles - 1) * c.write_stride;
  const size_t last_read = (profiles - 1) * c.read_stride;
  EXPECT_NE(d.write(CMD_WRITE_PARAMS, Bytes(2, 1), last_write + c.write_size - 1), kOk);
  EXPECT_NE(d.write(CMD_WRITE_PARAMS, Bytes(1, 1), profiles * c.write_stride + c.write_size), kOk);
  if (c.write_stride != c.read_stride) {
    EXPECT_NE(d.write(CMD_WRITE_PARAMS, Bytes(c.write_size, 1), c.read_stride), kOk);
  }
  EXPECT_NE(d.read(CMD_READ_PARAMS, 2, last_read + c.read_size - 1, &block), kOk);
  EXPECT_NE(d.read(CMD_READ_PARAMS, 1, (profiles - 1) * c.read_stride + c.read_size, &block), kOk);
  EXPECT_EQ(d.fw.memory(Memory::kParams), before);
}

INSTANTIATE_TEST_SUITE_P(Models, ParamWindows,
                         ::testing::Values(WindowCase{DeviceType::Keyboard, 25, 26, 25, 26},
                                           WindowCase{DeviceType::Mouse, 128, 71, 128, 66},
                                           WindowCase{DeviceType::Pad, 25, 26, 64, 21},
                                           WindowCase{DeviceType::Headset, 25, 26, 64, 21}));

TEST(FirmwareParams, PadReadOfProfileZeroReturnsTheBlockWrittenThere) {
  Device pad(DeviceType::Pad);
  Bytes written = pattern(21, 40);
  written[0] = 0;
  ASSERT_EQ(pad.bracketed_write(CMD_WRITE_PARAMS, written, 0), kOk);
  Bytes read;
  ASSERT_EQ(pad.read(CMD_READ_PARAMS, 26, 0, &read), kOk);
  EXPECT_TRUE(std::equal(written.begin(), written.end(), read.begin()));
}

TEST(FirmwareParams, MouseBlockSpansTwoPagesAndKeepsItsTail) {
  Device mouse(DeviceType::Mouse);
  Bytes factory;
  ASSERT_EQ(mouse.read(CMD_READ_PARAMS, 71, 128, &factory), kOk);
  Bytes written = pattern(66, 1);
  ASSERT_EQ(mouse.bracketed_write(CMD_WRITE_PARAMS, written, 128), kOk);
  EXPECT_EQ(mouse.fw.counters().per_command[CMD_WRITE_PARAMS], 2u);  // 56 + 10
  Bytes read;
  ASSERT_EQ(mouse.read(CMD_READ_PARAMS, 71, 128, &read), kOk);
  EXPECT_TRUE(std::equal(written.begin(), written.end(), read.begin()));
  EXPECT_TRUE(std::equal(factory.begin() + 66, factory.end(), read.begin() + 66));
}

TEST(FirmwareColours, EachSlotTakesItsOwnTable) {
  Device kb(DeviceType::Keyboard);
  const size_t n = kb.fw.layout().key_count() * 3;
  const size_t slots = kb.fw.layout().colour_slots;
  ASSERT_GE(slots, 2u);
  EXPECT_EQ(kb.write(CMD_WRITE_KEY_COLOURS, pattern(n, 5), 1 * kColourSlotSize), kOk);
  EXPECT_EQ(kb.write(CMD_WRITE_KEY_COLOURS, pattern(n, 9), (slots - 1) * kColourSlotSize), kOk);
  Bytes colours = kb.fw.memory(Memory::kKeyColours);
  EXPECT_EQ(Bytes(colours.begin() + kColourSlotSize, colours.begin() + kColourSlotSize + n), pattern(n, 5));
  EXPECT_EQ(colours[0], 0);  // slot 0 untouched
  EXPECT_EQ(kb.write(CMD_WRITE_KEY_COLOURS, Bytes(3, 1), slots * kColourSlotSize), kStatusError);
  // A page may not run into the next slot.
  EXPECT_EQ(kb.write(CMD_WRITE_KEY_COLOURS, Bytes(4, 1), kColourSlotSize - 3), kStatusError);
}

TEST(FirmwareLight, LastFrameIsKeptAndANewFrameClearsDroppedPages) {
  Device kb(DeviceType::Keyboard);
  const size_t n = kb.fw.layout().light_stream_bytes;
  Bytes frame = pattern(n, 11);
  ASSERT_EQ(kb.write(CMD_LIGHT_STREAM, frame, 0), kOk);
  EXPECT_EQ(kb.fw.memory(Memory::kLightFrame), frame);
  // Second frame with its second page dropped by the host.
  kb.cmd(CMD_LIGHT_STREAM, 56, 0, pattern(56, 1).data());
  kb.cmd(CMD_LIGHT_STREAM, 56, 112, pattern(56, 2).data());
  Bytes last = kb.fw.memory(Memory::kLightFrame);
  ASSERT_EQ(last.size(), 168u);
  EXPECT_EQ(Bytes(last.begin() + 56, last.begin() + 112), Bytes(56, 0));
  EXPECT_EQ(kb.fw.counters().light_frames, 2u);
  EXPECT_EQ(kb.write(CMD_LIGHT_STREAM, Bytes(3, 0), n - 2), kStatusError);
}

TEST(FirmwareStatus, StatusReadsSixBytesAndLinkQueryAnswersTheLink) {
  Device mouse(DeviceType::Mouse);
  mouse.fw.set_status_byte(kStatusOffBattery, 42);
  mouse.fw.set_status_byte(kStatusOffCharging, kChargingOn);
  CommandReport reply = mouse.cmd(CMD_READ_STATUS, 6, 0);
  EXPECT_EQ(reply[kOffStatus], kOk);
  EXPECT_EQ(reply[kOffData + kStatusOffBattery], 42);
  EXPECT_EQ(reply[kOffData + kStatusOffCharging], kChargingOn);
  EXPECT_EQ(mouse.cmd(CMD_READ_STATUS, kStatusSize + 1, 0)[kOffStatus], kStatusError);
  EXPECT_EQ(mouse.cmd(CMD_LINK_QUERY)[kOffData], kLinkUpAnswer);
  mouse.fw.set_linked(false);
  reply = mouse.cmd(CMD_LINK_QUERY);
  EXPECT_NE(reply[kOffData], kLinkUpAnswer);
  EXPECT_EQ(reply[kOffStatus], kOk);
}

// --- macro and recoil images ---

Bytes events(size_t n, uint8_t seed) { return pattern(n * kBlobEventSize, seed); }

// Two macros; the second is padded with events until the image fills `size` bytes.
Bytes image_of_size(size_t size) {
  const size_t fixed =
      kBlobHeaderSize + 2 * (kBlobOffsetSize + kBlobRecordHeaderSize) + 3 * kBlobEventSize;
  return build_blob({events(3, 1), events((size - fixed) / kBlobEventSize, 2)});
}

TEST(FirmwareMacros, ImageOfExactlyTheCapacityIsAcceptedAndParsed) {
  Device kb(DeviceType::Keyboard);
  const size_t capacity = kb.fw.layout().macro_capacity;
  Bytes image = image_of_size(capacity);
  ASSERT_EQ(image.size(), capacity);
  EXPECT_EQ(kb.bracketed_write(CMD_WRITE_MACROS, image, 0), kOk);
  const ImageInfo& info = kb.fw.macro_image();
  EXPECT_EQ(info.state, ImageState::kValid);
  ASSERT_EQ(info.records.size(), 2u);
  EXPECT_EQ(info.records[0].events, events(3, 1));
  EXPECT_EQ(kb.fw.memory(Memory::kMacros), image);
}

TEST(FirmwareMacros, OneByteBeyondTheCapacityIsAnOverflowError) {
  Device kb(DeviceType::Keyboard);
  const size_t capacity = kb.fw.layout().macro_capacity;
  Bytes image = image_of_size(capacity);
  image.push_back(0);
  image[kBlobOffLength] = static_cast<uint8_t>(image.size() & 0xFF);
  image[kBlobOffLength + 1] = static_cast<uint8_t>(image.size() >> 8);
  EXPECT_EQ(kb.write(CMD_WRITE_MACROS, image, 0), kStatusError);
  EXPECT_EQ(kb.fw.macro_image().state, ImageState::kInvalid);
  EXPECT_EQ(kb.fw.macro_image().error, BlobError::kBadLength);
  // A page that would end past the memory, whatever the header says.
  EXPECT_EQ(kb.cmd(CMD_WRITE_MACROS, 9, static_cast<uint16_t>(capacity - 8), Bytes(9, 0).data())[kOffStatus],
            kStatusError);
  EXPECT_EQ(kb.fw.last_refusal(), Refusal::kOutOfRange);
}

TEST(FirmwareMacros, BrokenImagesAreRefused) {
  Device kb(DeviceType::Keyboard);
  Bytes good = build_blob({events(2, 1), events(5, 2)});

  Bytes bad_magic = good;
  bad_magic[0] = 0x55;
  bad_magic[1] = 0xAA;  // big-endian magic
  EXPECT_EQ(kb.write(CMD_WRITE_MACROS, bad_magic, 0), kStatusError);
  EXPECT_EQ(kb.fw.macro_image().error, BlobError::kBadMagic);

  Bytes short_record = good;  // second record claims one event more than the image holds
  short_record[kBlobHeaderSize + 4 + 2 * 4 + 4] += 1;
  EXPECT_EQ(kb.write(CMD_WRITE_MACROS, short_record, 0), kStatusError);
  EXPECT_EQ(kb.fw.macro_image().state, ImageState::kInvalid);

  Bytes bad_offset = good;
  bad_offset[kBlobHeaderSize] += 4;
  EXPECT_EQ(kb.write(CMD_WRITE_MACROS, bad_offset, 0), kStatusError);
  EXPECT_EQ(kb.fw.macro_image().error, BlobError::kBadOffsets);

  // Pages out of order: the second page first.
  Bytes long_image = build_blob({events(30, 3)});  // 142 bytes: three pages
  EXPECT_EQ(kb.cmd(CMD_WRITE_MACROS, 56, 56, long_image.data() + 56)[kOffStatus], kStatusError);
  EXPECT_EQ(kb.fw.last_refusal(), Refusal::kOutOfSequence);
  // And a good image after all that is accepted.
  EXPECT_EQ(kb.write(CMD_WRITE_MACROS, good, 0), kOk);
  EXPECT_EQ(kb.fw.macro_image().state, ImageState::kValid);
}

TEST(FirmwareRecoil, FourScriptsArriveInPagesOf56And8) {
  Device mouse(DeviceType::Mouse);
  // 16 + 24 + 4 × 20 = 120 bytes: pages of 56, 56 and 8 at 0, 56 and 112.
  Bytes image = build_blob({events(5, 1), events(5, 2), events(5, 3), events(5, 4)});
  ASSERT_EQ(image.size(), 120u);
  EXPECT_EQ(mouse.bracketed_write(CMD_WRITE_RECOIL, image, 0), kOk);
  EXPECT_EQ(mouse.fw.counters().per_command[CMD_WRITE_RECOIL], 3u);
  EXPECT_EQ(mouse.fw.recoil_image().state, ImageState::kValid);
  ASSERT_EQ(mouse.fw.recoil_image().records.size(), 4u);
  EXPECT_EQ(mouse.fw.recoil_image().records[3].events, events(5, 4));
  // Three scripts are not a recoil image.
  Bytes three = build_blob({events(1, 1), events(1, 2), events(1, 3)});
  EXPECT_EQ(mouse.write(CMD_WRITE_RECOIL, three, 0), kStatusError);
  EXPECT_EQ(mouse.fw.recoil_image().error, BlobError::kWrongCount);
}

TEST(BlobImage, BuildAndCheckAgreeOnEveryLength) {
  for (size_t a = 0; a < 4; ++a) {
    for (size_t b = 0; b < 4; ++b) {
      Bytes image = build_blob({events(a, 1), events(b, 2)});
      EXPECT_EQ(image.size(), kBlobHeaderSize + 6 * 2 + 4 * (a + b));
      std::vector<BlobRecord> records;
      ASSERT_EQ(check_blob(image.data(), image.size(), 2, &records), BlobError::kNone);
      EXPECT_EQ(records[1].event_count, b);
      // Any shorter prefix claiming to be whole is refused.
      EXPECT_NE(check_blob(image.data(), image.size() - 1, -1, nullptr), BlobError::kNone);
    }
  }
}

// --- headset LED reports ---

Bytes led_report(uint8_t side, uint8_t part, std::initializer_list<uint8_t> values) {
  Bytes r(kLedReportSize, 0);
  r[0] = kLedReportId;
  r[1] = side;
  r[2] = part;
  size_t i = kLedReportFirstValue;
  for (uint8_t v : values) r[i++] = v;
  return r;
}

TEST(FirmwareHeadsetLeds, PartsLandOnTheirLedsAndComponents) {
  Device hs(DeviceType::Headset);
  ASSERT_TRUE(hs.fw.handle_led_report(led_report(kLedSideB, 0xAD, {1, 2, 3, 4, 5, 6}).data(), kLedReportSize));
  ASSERT_TRUE(hs.fw.handle_led_report(led_report(kLedSideA, 0xAB, {7, 8, 9, 10, 11, 12, 13}).data(), kLedReportSize));
  Bytes leds = hs.fw.memory(Memory::kHeadsetLeds);
  ASSERT_EQ(leds.size(), 2 * kHeadsetLedCount * 3);
  const size_t side_b = kHeadsetLedCount * 3;
  EXPECT_EQ(leds[side_b + 7 * 3 + 0], 1);   // red of LED 7, side 0x44
  EXPECT_EQ(leds[side_b + 12 * 3 + 0], 6);  // red of LED 12
  EXPECT_EQ(leds[0 * 3 + 1], 7);            // green of LED 0, side 0x22
  EXPECT_EQ(leds[6 * 3 + 1], 13);
  EXPECT_EQ(leds[side_b + 7 * 3 + 1], 0);   // green of side 0x44 untouched
}

TEST(FirmwareHeadsetLeds, ValuesAbove247AndUnknownPartsAreRefused) {
  Device hs(DeviceType::Headset);
  EXPECT_TRUE(hs.fw.handle_led_report(led_report(kLedSideA, 0xAA, {247}).data(), kLedReportSize));
  EXPECT_FALSE(hs.fw.handle_led_report(led_report(kLedSideA, 0xAA, {248}).data(), kLedReportSize));
  EXPECT_FALSE(hs.fw.handle_led_report(led_report(0x33, 0xAA, {1}).data(), kLedReportSize));
  EXPECT_FALSE(hs.fw.handle_led_report(led_report(kLedSideA, 0xB0, {1}).data(), kLedReportSize));
  EXPECT_FALSE(hs.fw.handle_led_report(led_report(kLedSideA, 0xAA, {1}).data(), kLedReportSize - 1));
  EXPECT_EQ(hs.fw.memory(Memory::kHeadsetLeds)[0], 247);
  EXPECT_EQ(hs.fw.counters().led_reports_refused, 4u);
  Device kb(DeviceType::Keyboard);
  EXPECT_FALSE(kb.fw.handle_led_report(led_report(kLedSideA, 0xAA, {1}).data(), kLedReportSize));
}

}  // namespace
}  // namespace qxr::emu
