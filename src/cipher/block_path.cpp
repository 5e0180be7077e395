#include "cipher/block_path.h"

#include <atomic>

#include "cpu/cpu_features.h"

namespace marnoq {
namespace {

std::vector<const BlockPath*> probePaths() {
    std::vector<const BlockPath*> paths;
    const cpu::Features& has = cpu::features();
    if (has.aes) {
        paths.push_back(&kAesNiPath);
    }
    if (has.vaes) {
        paths.push_back(&kVaesPath);
    }
    return paths;
}

std::atomic<const BlockPath*>& selected() {
    static std::atomic<const BlockPath*> path{
        availableBlockPaths().empty() ? nullptr : availableBlockPaths().back()};
    return path;
}

}  // namespace

const std::vector<const BlockPath*>& availableBlockPaths() {
    static const std::vector<const BlockPath*> paths = probePaths();
    return paths;
}

const BlockPath* hardwareBlockPath() { return selected().load(std::memory_order_relaxed); }

void selectBlockPath(const BlockPath* path) { selected().store(path); }

}  // namespace marnoq
