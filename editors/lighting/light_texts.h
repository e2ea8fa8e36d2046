#pragma once
// The lighting panel's texts live in their own language files beside the toolkit's
// ("LightControl_" + the language file, e.g. "LightControl_lan_en.xml"). Once installed, every
// language the program loads gets them merged in (texts already present win).
#include <QString>

namespace qxr::editors {

inline constexpr const char* kLightTextPrefix = "LightControl_";

// Merges the panel's texts into the current language now and after every language change.
void install_light_texts();
// Merges the panel's texts for the current language file; false when there is none to merge.
bool merge_light_texts();

}  // namespace qxr::editors
