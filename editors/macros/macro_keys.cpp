#include "editors/macros/macro_keys.h"

#include "editors/keys/key_tables.h"

namespace qxr::editors::macros {
namespace {

bool plays_macro(const KeyAssignment& a) { return a.type == keys::kTypeMacro || a.type == keys::kTypeMacroRepeat; }

}  // namespace

bool keys_play_macro(std::span<const KeyAssignRecord> keys, size_t m) {
  for (const KeyAssignRecord& k : keys) {
    if (plays_macro(k.assignment) && k.assignment.d1 == m) return true;
  }
  return false;
}

bool renumber_keys_after_delete(std::vector<KeyAssignRecord>& keys, size_t m) {
  bool changed = false;
  for (KeyAssignRecord& k : keys) {
    KeyAssignment& a = k.assignment;
    if (!plays_macro(a) || a.d1 < m) continue;
    if (a.d1 == m) {
      a = k.default_assignment;
    } else {
      --a.d1;
    }
    changed = true;
  }
  return changed;
}

}  // namespace qxr::editors::macros
