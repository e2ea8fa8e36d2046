#pragma once
// The words notifications are routed by: a row names a notification type and the sender, by
// its exact name or by the prefix of an indexed name ("key_" for "key_12"); an empty name
// stands for every sender. Panels publish the rows they take; the main window's route table
// is built from them.
#include <span>
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

// The first row of a table (rows with a type, a name and a match) that takes the
// notification; nullptr when none does.
template <typename Row>
const Row* find_row(std::span<const Row> rows, std::string_view type, std::string_view sender_name) {
  for (const Row& row : rows) {
    if (row_matches({row.type, row.name, row.match}, type, sender_name)) return &row;
  }
  return nullptr;
}

}  // namespace qxr::ui
