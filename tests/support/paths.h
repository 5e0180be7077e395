#pragma once

#include <cctype>
#include <string>
#include <vector>

#include "cipher/block_path.h"
#include "digest/crc32_path.h"

namespace marnoq::test {

// Every path this machine runs, the portable code (nullptr) first.
template <typename Path>
std::vector<const Path*> withPortable(std::vector<const Path*> paths) {
    paths.insert(paths.begin(), nullptr);
    return paths;
}
inline std::vector<const BlockPath*> allBlockPaths() {
    return withPortable(availableBlockPaths());
}
inline std::vector<const CrcPath*> allCrcPaths() {
    return withPortable(availableCrcPaths());
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
        selectBlockPath(allBlockPaths().back());
        selectCrcPath(allCrcPaths().back());
    }
};

}  // namespace marnoq::test
