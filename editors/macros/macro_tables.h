#pragma once
// The macro events' code space: event types, the mouse events a macro can hold with their
// display names, and the names of a macro's events.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "profile/records.h"

namespace qxr::editors::macros {

inline constexpr uint8_t kEventMouseButton = 1;
inline constexpr uint8_t kEventMoveHorizontal = 4;  // "down" to the left
inline constexpr uint8_t kEventMoveVertical = 5;    // "down" up
inline constexpr uint8_t kEventModifier = 9;
inline constexpr uint8_t kEventKey = 10;
inline constexpr uint8_t kEventDownBit = 0x80;

// The mouse inputs a macro records or inserts.
enum class MouseInput {
  LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp, ForwardDown, ForwardUp, BackDown, BackUp,
  MoveLeft, MoveRight, MoveUp, MoveDown,
};

struct MacroMouseEntry {
  uint16_t message;     // the window-system message it stands for
  uint8_t function;     // 0x10 buttons, 0x15 moves, 0x12 the cursor
  uint8_t button;       // button bit
  uint8_t event;        // direction bit 7 | event type
  std::string_view name;
};
inline constexpr size_t kMacroMouseEntries = 15;
extern const std::array<MacroMouseEntry, kMacroMouseEntries> MacroMouseTable;

// Entry of an input (0-13).
size_t mouse_entry(MouseInput input);

// The event an entry makes (a move carries its distance as its button).
MacroEvent mouse_event(MouseInput input, uint8_t distance = 0);

// The event of keyboard-table entry 0-112: a key (its usage) or a modifier (its bit); nothing
// for an entry without either.
std::optional<MacroEvent> key_event(size_t entry, bool down);

// What an event row shows: its name key (empty for types without a name) and whether it is a
// key (keyboard style) or a mouse event; moves also show their distance.
struct EventLabel {
  std::string_view name;
  bool keyboard = false;
  bool shows_distance = false;
};
EventLabel event_label(const MacroEvent& event);

}  // namespace qxr::editors::macros
