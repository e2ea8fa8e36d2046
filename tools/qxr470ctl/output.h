#pragma once
// What a qxr470ctl command reports: text lines for people, one JSON document with --json.
// Errors go to stderr as text, or into the document as "error" with --json.
#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qxr::ctl {

class Output {
 public:
  explicit Output(bool json) : json_(json) {}

  bool json() const { return json_; }
  Json::Value& doc() { return doc_; }
  void line(const std::string& text);
  // Records an error and returns exit_code, for `return out.fail(...)`.
  int fail(int exit_code, const std::string& message);
  // Writes what was collected; called once at the end.
  void flush();

 private:
  bool json_;
  Json::Value doc_{Json::objectValue};
  std::vector<std::string> lines_;
  std::string error_;
};

// "04 01 00 01 ..." (lower-case, single spaces).
std::string hex_bytes(const uint8_t* data, size_t size);
// A 64-byte report as four lines of 16 bytes, each prefixed with its offset.
std::vector<std::string> report_lines(const uint8_t* report, size_t size);

}  // namespace qxr::ctl
