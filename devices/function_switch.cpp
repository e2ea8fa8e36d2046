#include "devices/function_switch.h"

#include <array>

#include "devices/device_kind.h"

namespace qxr::devices {

namespace {

struct Row {
  int type;
  FunctionPages pages;
};
constexpr std::array<Row, 7> kRows{{
    {2, {0, 1}},
    {6, {0, 1}},
    {3, {1, kLeavePage}},
    {8, {1, kLeavePage}},
    {7, {0, 2}},
    {5, {2, kLeavePage}},
    {4, {3, kLeavePage}},  // keyboards and mice only; others take type 7's pages
}};
constexpr int kTypeForOtherKinds = 7;
constexpr int kKindSpecificType = 4;
constexpr FunctionPages kDefaultPages{0, 0};

}  // namespace

FunctionPages function_pages_for(int type, int kind) {
  if (type == kKindSpecificType && kind != static_cast<int>(kKindKeyboard) &&
      kind != static_cast<int>(kKindMouse))
    type = kTypeForOtherKinds;
  for (const Row& r : kRows)
    if (r.type == type) return r.pages;
  return kDefaultPages;
}

}  // namespace qxr::devices
