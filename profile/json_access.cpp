#include "profile/json_access.h"

#include <cmath>
#include <limits>

namespace qxr {

namespace {
const Json::Value& null_value() {
  static const Json::Value kNull;
  return kNull;
}
}  // namespace

const Json::Value& Member(const Json::Value& v, const char* key) {
  if (!v.isObject()) return null_value();
  const Json::Value* found = v.find(key, key + std::char_traits<char>::length(key));
  return found ? *found : null_value();
}

const Json::Value& Element(const Json::Value& v, Json::ArrayIndex index) {
  if (!v.isArray() || index >= v.size()) return null_value();
  return v[index];
}

int32_t ToInt(const Json::Value& v, int32_t fallback) {
  switch (v.type()) {
    case Json::intValue:
      // Stored numbers are 32-bit; wider ones are cut to 32 bits like the record fields.
      return static_cast<int32_t>(v.asLargestInt());
    case Json::uintValue:
      return static_cast<int32_t>(v.asLargestUInt());
    case Json::realValue: {
      double d = v.asDouble();
      if (!std::isfinite(d) || d <= std::numeric_limits<int32_t>::min() - 1.0 ||
          d >= std::numeric_limits<int32_t>::max() + 1.0) {
        return fallback;
      }
      return static_cast<int32_t>(d);
    }
    case Json::booleanValue:
      return v.asBool() ? 1 : 0;
    default:
      return fallback;
  }
}

bool ToBool(const Json::Value& v, bool fallback) {
  switch (v.type()) {
    case Json::booleanValue:
      return v.asBool();
    case Json::intValue:
      return v.asLargestInt() != 0;
    case Json::uintValue:
      return v.asLargestUInt() != 0;
    case Json::realValue:
      return v.asDouble() != 0.0;
    default:
      return fallback;
  }
}

std::string ToString(const Json::Value& v) {
  switch (v.type()) {
    case Json::stringValue:
    case Json::intValue:
    case Json::uintValue:
    case Json::realValue:
    case Json::booleanValue:
      return v.asString();
    default:
      return {};
  }
}

Json::Value& WritableMember(Json::Value& parent, const char* key) {
  if (!CanHoldMembers(parent)) parent = Json::Value(Json::objectValue);
  return parent[key];
}

Json::Value& WritableElement(Json::Value& parent, Json::ArrayIndex index) {
  if (!CanHoldElements(parent)) parent = Json::Value(Json::arrayValue);
  return parent[index];
}

}  // namespace qxr
