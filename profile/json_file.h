#pragma once
// JSON file helpers shared by the whole program. Reads never throw and never trust the
// file: a missing, empty, oversized, unparsable or too deeply nested file reads as null.
// Writes are atomic (a crash never leaves half a file behind).
#include <json/value.h>

#include <cstddef>
#include <string>

namespace qxr {

// Files larger than this are treated as unreadable; no stored document comes near it.
inline constexpr std::size_t kMaxJsonFileBytes = 8u << 20;
// Deeper nesting is rejected while parsing; stored documents nest a handful of levels.
inline constexpr int kMaxJsonNesting = 256;

// The whole file's bytes, or an empty string (missing, not a regular file, too large,
// short read).
std::string ReadFileText(const std::string& path);

// The parsed document, or null.
Json::Value ReadJsonFile(const std::string& path);

// Parses text the same way ReadJsonFile does; null on any error.
Json::Value ParseJsonText(const std::string& text);

// Writes the document as indented text, atomically. False when it could not be written; the
// outcome goes to the write listener (write_outcomes.h) either way.
bool WriteJsonFile(const std::string& path, const Json::Value& value);

// The indented text WriteJsonFile writes.
std::string StyledJsonText(const Json::Value& value);

// "%d_%02d_%02d_%02d_%02d_%02d_%03d" of the local time, year to millisecond.
std::string MakeTimeStampId();

// Reading a document that is about to be changed and written back.
enum class JsonFileState {
  kMissing,     // no such file (or empty): start from scratch
  kReadable,    // parsed
  kUnreadable,  // exists but cannot be used; it was moved aside (see SetAsideFile)
};
struct JsonFileForUpdate {
  JsonFileState state = JsonFileState::kMissing;
  Json::Value document;   // an object when kReadable, else null
  std::string set_aside;  // where the unreadable original now lies

  // False when an unreadable original could not be moved aside: writing would lose it.
  bool CanOverwrite() const { return state != JsonFileState::kUnreadable || !set_aside.empty(); }
};
// Reads path and tells whether it can be used, without touching it.
JsonFileForUpdate InspectJsonFile(const std::string& path);
// Reads path. A file that exists but does not parse, is too large or is not a JSON
// object is renamed aside so that the coming write cannot lose it; an empty file or a
// bare null reads as missing.
JsonFileForUpdate ReadJsonFileForUpdate(const std::string& path);

// Renames an existing regular file to "<path>.unreadable-<time stamp>" (plus a counter when that
// exists) and logs it. Returns the new name, or an empty string when nothing was moved.
std::string SetAsideFile(const std::string& path);

}  // namespace qxr
