#include <cstdint>
#include <mutex>
#include <unordered_set>

#include "secure/memory_lock.h"

namespace marnoq {

void lockInMemory(const void* data, std::size_t size) {
    // The smallest page any supported system has; larger pages only mean a repeated request.
    constexpr std::uintptr_t kPage = 4096;
    static std::mutex mutex;
    static std::unordered_set<std::uintptr_t> requested;
    // Pages stay locked, so what this thread has seen locked needs no shared lock again: the
    // workers of many small files would otherwise queue here for every secret they copy.
    thread_local std::unordered_set<std::uintptr_t> seen;
    const auto first = reinterpret_cast<std::uintptr_t>(data) & ~(kPage - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(data) + size;
    bool allSeen = true;
    for (auto page = first; page < end && allSeen; page += kPage) {
        allSeen = seen.contains(page);
    }
    if (allSeen) {
        return;
    }
    const std::scoped_lock guard(mutex);
    for (auto page = first; page < end; page += kPage) {
        if (requested.insert(page).second) {
            lockPage(reinterpret_cast<const void*>(page), kPage);
        }
        seen.insert(page);
    }
}

}  // namespace marnoq
