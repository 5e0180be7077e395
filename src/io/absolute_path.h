#pragma once

#include <filesystem>
#include <string>

namespace marnoq::io {

// Makes names absolute, for the command line and the window alike. The working folder is asked
// once, not for each of thousands of names, and only when a name is relative: it may have been
// deleted. ".." stays for the system to resolve: after a link it leads elsewhere than cutting
// the text would. On Windows "\\server\share\...", "\\?\..." and "\\.\..." are absolute and
// stay as given, and "C:x" is taken in drive C's own current folder.
class AbsolutePaths {
  public:
    // An empty `workingFolder` is asked of the system when first needed.
    explicit AbsolutePaths(std::filesystem::path workingFolder = {});
    std::string operator()(const std::string& path);

  private:
    std::filesystem::path workingFolder_;
};

}  // namespace marnoq::io
