#pragma once
// A panel's texts may live in language files of their own beside the toolkit's (prefix + the
// language file, e.g. "LightControl_lan_en.xml"). Once installed, every language the program
// loads gets them merged in; texts already present win.
#include <QString>

namespace qxr::ui {

// Merges the prefix's texts into the current language now and after every language change.
void install_panel_texts(const QString& prefix);
// Merges them for the current language file; false when there is nothing to merge.
bool merge_panel_texts(const QString& prefix);

}  // namespace qxr::ui
