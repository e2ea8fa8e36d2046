#include "tools/qxr470ctl/output.h"

#include <fmt/format.h>

#include <cstdio>
#include <iostream>

namespace qxr::ctl {

namespace {
constexpr size_t kBytesPerLine = 16;
}

void Output::line(const std::string& text) { lines_.push_back(text); }

int Output::fail(int exit_code, const std::string& message) {
  error_ = message;
  return exit_code;
}

void Output::flush() {
  if (json_) {
    if (!error_.empty()) doc_["error"] = error_;
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    std::cout << Json::writeString(builder, doc_) << '\n';
    return;
  }
  for (const std::string& l : lines_) std::cout << l << '\n';
  if (!error_.empty()) std::cerr << "qxr470ctl: " << error_ << '\n';
}

std::string hex_bytes(const uint8_t* data, size_t size) {
  std::string s;
  s.reserve(size * 3);
  for (size_t i = 0; i < size; ++i) {
    if (i != 0) s.push_back(' ');
    s += fmt::format("{:02x}", data[i]);
  }
  return s;
}

std::vector<std::string> report_lines(const uint8_t* report, size_t size) {
  std::vector<std::string> out;
  for (size_t at = 0; at < size; at += kBytesPerLine) {
    out.push_back(fmt::format("  {:02x}: {}", at, hex_bytes(report + at, std::min(kBytesPerLine, size - at))));
  }
  return out;
}

}  // namespace qxr::ctl
