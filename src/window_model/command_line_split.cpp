#include "window_model/command_line_split.h"

#include <filesystem>

#include "jobs/path_functions.h"

namespace marnoq::window_model {

std::vector<std::string> splitCommandLine(const std::string& text) {
    std::string joined;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "\" \"") == 0) {
            joined += '|';
            i += 2;
        } else if (text[i] != '"') {
            joined += text[i];
        }
    }
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t bar = joined.find('|'); bar != std::string::npos;
         bar = joined.find('|', start)) {
        items.push_back(joined.substr(start, bar - start));
        start = bar + 1;
    }
    items.push_back(joined.substr(start));
    return items;
}

CommandLineFiles sortCommandLine(const std::vector<std::string>& items,
                                 const std::string& currentFolder) {
    CommandLineFiles files;
    for (const std::string& item : items) {
        if (item.empty()) {
            continue;
        }
        std::filesystem::path path(item);
        if (path.is_relative()) {
            path = std::filesystem::path(currentFolder) / path;
        }
        const std::string full = path.lexically_normal().string();
        (jobs::hasAesExtension(full) ? files.decrypt : files.encrypt).push_back(full);
    }
    return files;
}

}  // namespace marnoq::window_model
