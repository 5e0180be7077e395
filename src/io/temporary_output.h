#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

#include "io/output_file.h"
#include "io/unique_fd.h"

namespace marnoq::io {

// The output of a job is written into a file without a name in the destination's folder and
// only named once complete, so a crash, a kill or a power loss at any moment leaves no partial
// output under any name. Where the file system cannot make nameless files, a short temporary
// name stands in, which an uncommitted output removes again.
class TemporaryOutput {
  public:
    // The file is created with the permission bits `mode`, less the umask, from its first byte.
    TemporaryOutput(std::string destination, mode_t mode);
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    ~TemporaryOutput();

    OutputFile& file() { return *file_; }
    const std::string& destination() const { return destination_; }
    // The short name the file has in its folder right now; empty while it has none.
    const std::string& temporaryName() const { return name_; }

    // Moves the finished file over the destination. An existing destination is replaced only
    // after the new bytes are on disk, so a crash leaves either the old or the new file.
    // `lastCheck` runs once the bytes are on disk, just before the rename; it may throw.
    void commit(const std::function<void()>& lastCheck = {});
    void discard();

    // Temporary names are this marker and random letters, at most kNameLength bytes in all:
    // recognisable, and short whatever the length of the destination's name.
    static constexpr const char* kMarker = ".marnoq-";
    static constexpr std::size_t kNameLength = 16;

  private:
    void openNamed(mode_t mode);
    void linkUnderTemporaryName();
    bool linkAsDestination();

    std::string destination_;
    std::string leaf_;
    UniqueFd folder_;
    std::string name_;
    std::optional<OutputFile> file_;
    bool replacing_ = false;  // the destination existed when the output was opened
    bool done_ = false;
};

}  // namespace marnoq::io
