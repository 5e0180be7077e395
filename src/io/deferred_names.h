#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "io/file_error.h"
#include "io/temporary_output.h"

namespace marnoq::io {

// Small finished outputs that wait to be named together. Flushing a file system costs about
// as much for one file as for a hundred, so many small files are made durable by one flush
// for all their bytes, then named, then one more flush for all their names.
class DeferredNames {
  public:
    static constexpr std::uint64_t kLargestFile = 1024 * 1024;

    DeferredNames();
    // How many outputs wait at most: each holds a descriptor, a few hundred halve the flushes.
    std::size_t capacity() const { return capacity_; }
    // Whether a new output of this size waits here rather than being named on its own.
    bool takes(std::uint64_t size) const;
    void add(TemporaryOutput&& output);
    bool full() const;
    // Whether the output of this destination waits here.
    bool holds(const std::string& destination) const;
    // Names every waiting output, its bytes and its name durable; returns those that failed.
    // Safe to call while workers add more: those wait for the next call.
    std::vector<FileError> settle();

  private:
    // Flushes each file system that holds one of the outputs once; those whose flush failed
    // leave the list, their error joins the failures.
    static void flushFileSystems(std::vector<TemporaryOutput*>& outputs,
                                 std::vector<FileError>& failures);

    std::size_t capacity_;
    mutable std::mutex mutex_;
    std::vector<TemporaryOutput> waiting_;
};

}  // namespace marnoq::io
