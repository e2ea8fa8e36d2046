#pragma once
// Interface paths: "<node>#vid_xxxx&pid_xxxx[&mi_xx][&colxx]". The node is a hidraw device
// node or an emulated interface's socket; the suffix describes the interface so that the
// path helpers read it the same way for both.
#include <cstdint>
#include <string>

namespace qxr::hid {

inline constexpr char kPathSuffixSeparator = '#';

// The part before the suffix: what is actually opened.
std::string path_node(const std::string& path);

// interface < 0 leaves "&mi_" out; collection 0 leaves "&col" out (a single collection).
std::string make_path(const std::string& node, uint16_t vendor_id, uint16_t product_id,
                      int interface_number, uint16_t collection);

}  // namespace qxr::hid
