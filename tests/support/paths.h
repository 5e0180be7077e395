#pragma once

#include <cctype>
#include <string>
#include <vector>

#include "cipher/block_path.h"
#include "digest/crc32_path.h"

namespace marnoq::test {

// Every block path this machine runs, the table code (nullptr) first.
inline std::vector<const BlockPath*> allBlockPaths() {
    std::vector<const BlockPath*> paths{nullptr};
    for (const BlockPath* path : availableBlockPaths()) {
        paths.push_back(path);
    }
    return paths;
}

inline std::vector<const CrcPath*> allCrcPaths() {
    std::vector<const CrcPath*> paths{nullptr};
    for (const CrcPath* path : availableCrcPaths()) {
        paths.push_back(path);
    }
    return paths;
}

template <typename Path>
std::string pathLabel(const Path* path) {
    std::string name = path != nullptr ? path->name : "portable";
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

// Runs the test body on the given paths and restores the fastest ones afterwards.
class PathScope {
public:
    PathScope(const BlockPath* block, const CrcPath* crc) {
        selectBlockPath(block);
        selectCrcPath(crc);
    }
    ~PathScope() {
        selectBlockPath(availableBlockPaths().empty() ? nullptr : availableBlockPaths().back());
        selectCrcPath(availableCrcPaths().empty() ? nullptr : availableCrcPaths().back());
    }
};

}  // namespace marnoq::test
