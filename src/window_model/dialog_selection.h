#pragma once

#include <string>
#include <vector>

namespace marnoq::window_model {

// What each list's open-file dialog says: its title, its filter ("description|pattern" pairs)
// and its default extension, written as a pattern.
struct OpenDialogText {
    const char* title;
    const char* filter;
    const char* defaultExt;
};
inline constexpr OpenDialogText kEncryptDialog{"Zu verschlüsselnde Datei(en) auswählen",
                                               "Alle Dateien (*.*)|*.*", "*.*"};
inline constexpr OpenDialogText kDecryptDialog{
    "Zu entschlüsselnde Datei auswählen", "AES verschluesselte Dateien (*.aes)|*.aes", "*.aes"};

// The encrypt side's dialog hands back a resolved shortcut as a path; the list then takes the
// shortcut's own name in the picked folder. The decrypt side takes every name as it comes.
enum class ShortcutRule { Apply, Ignore };

// The open-file dialog's answer as list entries: one full path, or a folder followed by names,
// the parts separated by '\0'. The folder gets the separator appended unless it ends in one;
// empty names are skipped.
std::vector<std::string> dialogSelectionPaths(const std::string& selection, char separator,
                                              ShortcutRule shortcuts);

}  // namespace marnoq::window_model
