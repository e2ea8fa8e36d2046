#pragma once
// Every language key the program's code puts on screen. A test checks each against every
// language file, as it checks the keys the skins use; add a key here when code starts to use it.
#include <span>

namespace qxr::ui {

std::span<const char* const> code_text_keys();

}  // namespace qxr::ui
