#include "app/pages/device_models.h"

namespace qxr::app {

std::string_view entry_image_prefix(int kind, int variant) {
  const devices::KindRow* row = devices::kind_row(static_cast<uint16_t>(kind));
  if (row == nullptr) return "unknow";
  return row->image_prefix[variant == 1 ? 1 : 0];
}

std::string entry_image(std::string_view prefix, EntryImage image) {
  static constexpr std::string_view kSuffix[] = {"_device_normal.png", "_device_selected.png",
                                                 "_device_synchro_normal.png", "_device_synchro_selected.png"};
  return "common/device_ico/" + std::string(prefix) + std::string(kSuffix[static_cast<int>(image)]);
}

std::string entry_name_key(std::string_view prefix) { return std::string(prefix) + "_device_name_text"; }

std::string_view arrival_line(int kind) {
  const devices::KindRow* row = devices::kind_row(static_cast<uint16_t>(kind));
  return row == nullptr ? std::string_view() : row->arrival_line;
}

std::string_view removal_line(int kind) {
  const devices::KindRow* row = devices::kind_row(static_cast<uint16_t>(kind));
  return row == nullptr ? std::string_view() : row->removal_line;
}

}  // namespace qxr::app
