#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "io/output_file.h"

namespace marnoq::io {

// The output of a job is written beside its destination under a name that says what it is,
// and only moved over the destination once complete. Until commit() the destination is
// untouched; a temporary that is not committed removes itself, so nothing partial is left.
class TemporaryOutput {
public:
    TemporaryOutput(std::string destination, mode_t mode);
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    ~TemporaryOutput();

    OutputFile& file() { return *file_; }
    const std::string& path() const { return path_; }
    const std::string& destination() const { return destination_; }

    // Moves the finished file over the destination. An existing destination is replaced only
    // after the new bytes are on disk, so a crash leaves either the old or the new file.
    void commit();
    void discard();

    static constexpr const char* kMarker = ".aes-marnoq-tmp-";

private:
    std::string destination_;
    std::string path_;
    std::optional<OutputFile> file_;
    bool done_ = false;
};

}  // namespace marnoq::io
