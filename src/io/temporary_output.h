#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

#include "io/file_location.h"
#include "io/output_file.h"
#include "io/unique_fd.h"

namespace marnoq::io {

class DeferredNames;

// The output of a job is written into a file without a name in the destination's folder and
// only named once complete, so a crash, a kill or a power loss at any moment leaves no partial
// output under any name. Where the file system cannot make nameless files, a short temporary
// name stands in, which an uncommitted output removes again.
class TemporaryOutput {
  public:
    // The file is created with the permission bits `mode`, less the umask, from its first byte.
    TemporaryOutput(std::string destination, mode_t mode);
    // The same in a folder looked up before: the output lands there, whatever happens to the
    // path meanwhile.
    TemporaryOutput(const FileLocation& destination, mode_t mode);
    TemporaryOutput(TemporaryOutput&& other) noexcept;
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(TemporaryOutput&&) = delete;
    ~TemporaryOutput();

    OutputFile& file() { return *file_; }
    const std::string& destination() const { return destination_; }
    // The short name the file has in its folder right now; empty while it has none.
    const std::string& temporaryName() const { return name_; }

    // Names the finished file as the destination once its bytes are on disk, and returns once
    // the name is on disk too: after a crash or a power loss there is the old file or the
    // complete new one, never an empty or partial one. `lastCheck` runs just before the name
    // is given; it may throw. With `later`, a new small file is handed over instead, to be
    // named with others at the next DeferredNames::settle().
    void commit(const std::function<void()>& lastCheck = {}, DeferredNames* later = nullptr);
    void discard();
    // Asked when a file took the destination's name while the output was written (it did not
    // exist at the start); without it, or when it says no, that file stays and the commit fails.
    void replaceAppearedIf(std::function<bool()> ask) { replaceAppeared_ = std::move(ask); }

    // Temporary names are this marker and random letters, at most kNameLength bytes in all:
    // recognisable, and short whatever the length of the destination's name.
    static constexpr const char* kMarker = ".marnoq-";
    static constexpr std::size_t kNameLength = 16;

  private:
    // The marker and random letters: unpredictable to spare retries, where exclusive creation
    // alone keeps the name safe.
    static std::string randomName();

    friend class DeferredNames;

    void openNamed(mode_t mode);
    // Gives the file, whose bytes are on disk, the destination's name.
    void nameSynced();
    void syncFolder();
    void linkUnderTemporaryName();
    bool linkAsDestination();
    bool renameAsDestination();

    std::string destination_;
    std::string leaf_;
    std::shared_ptr<const UniqueFd> folder_;
    std::string name_;
    std::optional<OutputFile> file_;
    bool replacing_ = false;  // the destination existed when the output was opened
    std::function<bool()> replaceAppeared_;
    bool done_ = false;
};

}  // namespace marnoq::io
