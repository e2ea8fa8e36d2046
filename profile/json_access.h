#pragma once
// Type-tolerant access to documents that come from disk. JsonCpp throws when a value of
// the wrong type is indexed or converted; stored files may be edited or imported, so
// every read goes through these helpers, which give the caller's fallback instead.
#include <json/value.h>

#include <cstdint>
#include <string>

namespace qxr {

// The member, or null when v is not an object or lacks it.
const Json::Value& Member(const Json::Value& v, const char* key);
// The element, or null when v is not an array or is too short.
const Json::Value& Element(const Json::Value& v, Json::ArrayIndex index);

// Integers, booleans and in-range reals convert as the library converts them (wider
// integers are truncated to 32 bits); anything else, null included, gives the fallback.
int32_t ToInt(const Json::Value& v, int32_t fallback = 0);
// Numbers are true when non-zero; anything but a boolean or a number gives the fallback.
bool ToBool(const Json::Value& v, bool fallback = false);
// Strings as they are, numbers and booleans in the library's text form, else "".
std::string ToString(const Json::Value& v);

// Writable access that makes room: a parent that is neither of the needed kind nor null
// is replaced. Used only where a value is about to be written.
Json::Value& WritableMember(Json::Value& parent, const char* key);
Json::Value& WritableElement(Json::Value& parent, Json::ArrayIndex index);

// True when v may become an object (or array) without discarding anything.
inline bool CanHoldMembers(const Json::Value& v) { return v.isNull() || v.isObject(); }
inline bool CanHoldElements(const Json::Value& v) { return v.isNull() || v.isArray(); }

}  // namespace qxr
