#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace marnoq::jobs {

enum class FileOutcome {
    Done,              // written (or verified) and the checksum matches
    Skipped,           // not an existing regular file
    Foreign,           // no signature of ours: the job stopped
    WrongPassword,     // the job stopped
    SizeError,         // body length not a positive multiple of 16: nothing written
    NotReplaced,       // an output of that name exists and was not to be replaced
    ChecksumMismatch,  // reported; the job went on
    Failed,            // a file error or refusal ended the job
};

// What one click did, for front ends that need more than the window shows (the exit status).
struct JobReport {
    bool started = false;     // the input checks passed and the file loop ran
    bool inputError = false;  // an input check refused the job
    bool aborted = false;     // the program was closed during the job
    struct File {
        std::string path;
        FileOutcome outcome;
        std::string storedCrc = {};    // the header's checksum text (decrypt, verify)
        std::string computedCrc = {};  // of the plain data this run read or wrote
        std::uint64_t bodyLength = 0;  // encrypted bytes after the header
        std::string output = {};       // what was written: a path, "-" for standard output
        std::string error = {};        // the messages shown for this file, lines joined by CR LF
    };
    std::vector<File> files;

    bool allDone() const {
        if (!started || aborted) {
            return false;
        }
        for (const auto& file : files) {
            if (file.outcome != FileOutcome::Done) {
                return false;
            }
        }
        return true;
    }
};

}  // namespace marnoq::jobs
