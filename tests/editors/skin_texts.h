#pragma once
// Checks that every language key a panel puts on screen has a text in every language.
#include <QString>

#include <set>

namespace qxr::testing {

// Texts, tips and placeholders of a skin file (by name) that are written as language keys.
std::set<QString> skin_text_keys(const QString& skin_name);

// Every key of used is in each language's panel file (prefix + the language file) or in the
// language file itself; the panel files are free of duplicates and hold the same keys.
void expect_texts_in_every_language(const QString& panel_prefix, const std::set<QString>& used);

}  // namespace qxr::testing
