#pragma once

#include <string>
#include <vector>

namespace marnoq::window_model {

// The encrypt side's dialog hands back a resolved shortcut as a path; the list then takes the
// shortcut's own name in the picked folder. The decrypt side takes every name as it comes.
enum class ShortcutRule { Apply, Ignore };

// The open-file dialog's answer as list entries: one full path, or a folder followed by names,
// the parts separated by '\0'. The folder gets the separator appended unless it ends in one;
// empty names are skipped.
std::vector<std::string> dialogSelectionPaths(const std::string& selection, char separator,
                                              ShortcutRule shortcuts);

}  // namespace marnoq::window_model
