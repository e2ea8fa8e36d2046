#include "editors/macros/macro_tables.h"

#include "editors/keys/key_tables.h"

namespace qxr::editors::macros {
namespace {

constexpr uint16_t kMoveMessage = 0;  // moves are inserted, never recorded
constexpr uint8_t kButtonFunction = 0x10, kMoveFunction = 0x15, kCursorFunction = 0x12;
constexpr size_t kFirstMoveEntry = 10;
constexpr size_t kLastButtonEntry = 9;

}  // namespace

const std::array<MacroMouseEntry, kMacroMouseEntries> MacroMouseTable = {{
    {0x0201, kButtonFunction, 0x01, 0x81, "mouse_key_left"},
    {0x0202, kButtonFunction, 0x01, 0x01, "mouse_key_left"},
    {0x0204, kButtonFunction, 0x02, 0x81, "mouse_key_right"},
    {0x0205, kButtonFunction, 0x02, 0x01, "mouse_key_right"},
    {0x0207, kButtonFunction, 0x04, 0x81, "mouse_key_middle"},
    {0x0208, kButtonFunction, 0x04, 0x01, "mouse_key_middle"},
    {0x020B, kButtonFunction, 0x10, 0x81, "mouse_key_forward"},
    {0x020C, kButtonFunction, 0x10, 0x01, "mouse_key_forward"},
    {0x020B, kButtonFunction, 0x08, 0x81, "mouse_key_back"},
    {0x020C, kButtonFunction, 0x08, 0x01, "mouse_key_back"},
    {kMoveMessage, kMoveFunction, 0, 0x84, "mouse_move_to_left_text"},
    {kMoveMessage, kMoveFunction, 0, 0x04, "mouse_move_to_right_text"},
    {kMoveMessage, kMoveFunction, 0, 0x85, "mouse_move_to_up_text"},
    {kMoveMessage, kMoveFunction, 0, 0x05, "mouse_move_to_down_text"},
    {0x020A, kCursorFunction, 0, 0, "mouse_cursor_text"},
}};

size_t mouse_entry(MouseInput input) { return static_cast<size_t>(input); }

MacroEvent mouse_event(MouseInput input, uint8_t distance) {
  const MacroMouseEntry& e = MacroMouseTable[mouse_entry(input)];
  MacroEvent event;
  event.type = e.event & static_cast<uint8_t>(~kEventDownBit);
  event.down = (e.event & kEventDownBit) != 0;
  event.button = e.function == kMoveFunction ? distance : e.button;
  return event;
}

std::optional<MacroEvent> key_event(size_t entry, bool down) {
  if (entry >= keys::kScannedKeyCount) return std::nullopt;
  const keys::KeyFunction& f = keys::KeyboardKeyTable[entry];
  MacroEvent event;
  event.down = down;
  if (f.d2 != 0) {
    event.type = kEventKey;
    event.button = f.d2;
  } else if (f.d1 != 0) {
    event.type = kEventModifier;
    event.button = f.d1;
  } else {
    return std::nullopt;
  }
  return event;
}

EventLabel event_label(const MacroEvent& event) {
  using keys::KeyboardKeyTable;
  switch (event.type) {
    case kEventKey:
      for (size_t k = keys::kFirstOrdinaryKey; k < KeyboardKeyTable.size(); ++k) {
        const keys::KeyFunction& f = KeyboardKeyTable[k];
        if (f.type == keys::kTypeKeyboard && f.d1 == 0 && f.d2 == event.button)
          return {keys::key_name(keys::KeyTable::Keyboard, k), true, false};
      }
      return {{}, true, false};
    case kEventModifier:
      for (size_t k = 0; k < keys::kModifierCount; ++k) {
        if (KeyboardKeyTable[k].d1 == event.button) return {keys::key_name(keys::KeyTable::Keyboard, k), true, false};
      }
      return {{}, true, false};
    case kEventMouseButton:
      for (size_t i = 0; i <= kLastButtonEntry; ++i) {
        if (MacroMouseTable[i].button == event.button) return {MacroMouseTable[i].name, false, false};
      }
      return {};
    case kEventMoveHorizontal:
    case kEventMoveVertical: {
      const uint8_t byte = static_cast<uint8_t>(event.type | (event.down ? kEventDownBit : 0));
      for (size_t i = kFirstMoveEntry; i < kFirstMoveEntry + 4; ++i) {
        if (MacroMouseTable[i].event == byte) return {MacroMouseTable[i].name, false, true};
      }
      return {};
    }
    default:
      return {};
  }
}

}  // namespace qxr::editors::macros
