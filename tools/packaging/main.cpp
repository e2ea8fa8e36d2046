// Writes the package's files that carry the supported USB ids, from the device kinds' rows:
//   qxr470-package-ids rules OUT
//   qxr470-package-ids metainfo TEMPLATE OUT
#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/packaging/package_ids.h"

namespace {

bool write(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qxr::packaging;
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "rules" && argc == 3) return write(argv[2], udev_rules(packaged_usb_ids())) ? 0 : 1;
  if (what == "metainfo" && argc == 4) {
    std::ifstream in(argv[2], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string filled = fill_metainfo(text.str(), packaged_usb_ids());
    if (!in || filled.empty()) {
      std::cerr << "qxr470-package-ids: " << argv[2] << " has no line with " << kModaliasMarker << "\n";
      return 1;
    }
    return write(argv[3], filled) ? 0 : 1;
  }
  std::cerr << "usage: qxr470-package-ids rules OUT | metainfo TEMPLATE OUT\n";
  return 2;
}
