#pragma once
// Number-only edits: digits only, limited length, and a commit that clamps the value and
// writes the clamped value back, so the edit never shows what was not applied.
#include <QLineEdit>

namespace qxr::ui {

void make_number_edit(QLineEdit* edit, int max_length);

// The edit's value clamped to [minimum, maximum], written back to the edit; fallback (clamped
// too) when the edit holds no number.
int commit_number(QLineEdit* edit, int minimum, int maximum, int fallback);

}  // namespace qxr::ui
