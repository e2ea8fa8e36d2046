#pragma once
// The words notifications are routed by: a row names a notification type and the sender, by
// its exact name or by the prefix of an indexed name ("key_" for "key_12"); an empty name
// stands for every sender. Panels publish the rows they take; the main window's route table
// is built from them.
#include <string_view>

#include "core/indexed_name.h"

namespace qxr::ui {

enum class Match { Exact, Indexed };

struct NotifyRow {
  std::string_view type;
  std::string_view name;  // for Indexed: the prefix before the decimal index
  Match match;
};

inline bool row_matches(const NotifyRow& row, std::string_view type, std::string_view sender_name) {
  if (row.type != type) return false;
  if (row.name.empty()) return true;
  if (row.match == Match::Exact) return sender_name == row.name;
  const auto split = split_indexed_name(sender_name);
  return split && split->prefix == row.name;
}

}  // namespace qxr::ui
