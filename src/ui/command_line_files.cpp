#include "ui/command_line_files.h"

#include <filesystem>

#include "jobs/path_functions.h"

namespace marnoq::ui {

CommandLineFiles sortCommandLine(const std::vector<std::string>& arguments,
                                 const std::string& currentFolder) {
    CommandLineFiles files;
    for (const std::string& argument : arguments) {
        if (argument.empty()) {
            continue;
        }
        std::filesystem::path path(argument);
        if (path.is_relative()) {
            path = std::filesystem::path(currentFolder) / path;
        }
        const std::string full = path.lexically_normal().string();
        (jobs::hasAesExtension(full) ? files.decrypt : files.encrypt).push_back(full);
    }
    return files;
}

}  // namespace marnoq::ui
