#include "window_model/dialog_selection.h"

#include "jobs/file_format.h"

namespace marnoq::window_model {

std::vector<std::string> dialogSelectionPaths(const std::string& selection, char separator,
                                              ShortcutRule shortcuts) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const auto end = selection.find('\0', start);
        parts.push_back(selection.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    if (parts.size() == 1) {
        return parts;
    }
    std::string folder = parts.front();
    if (folder.empty() || folder.back() != separator) {
        folder += separator;
    }
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].empty()) {
            continue;
        }
        if (shortcuts == ShortcutRule::Ignore) {
            paths.push_back(folder + parts[i]);
            continue;
        }
        const std::string name = jobs::trimSpaces(parts[i]);
        const auto cut = name.find_last_of(separator);
        paths.push_back(cut == std::string::npos ? folder + name
                                                 : folder + name.substr(cut + 1) + ".lnk");
    }
    return paths;
}

}  // namespace marnoq::window_model
