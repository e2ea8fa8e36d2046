#pragma once
// Which pages of the two function switches ("device_function_switch",
// "device_key_function_switch") a function-switch type selects.
#include <cstdint>

namespace qxr::devices {

inline constexpr int kLeavePage = -1;

struct FunctionPages {
  int function_page = 0;
  int key_function_page = kLeavePage;
  bool operator==(const FunctionPages&) const = default;
};

// kind is the device kind (1 keyboard, 2 mouse, ...): type 4 differs by kind.
FunctionPages function_pages_for(int type, int kind);

}  // namespace qxr::devices
