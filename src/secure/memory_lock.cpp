#include <cstdint>
#include <unordered_set>

#include "secure/memory_lock.h"

namespace marnoq {

void lockInMemory(const void* data, std::size_t size) {
    // The smallest page any supported system has; larger pages only mean a repeated request.
    constexpr std::uintptr_t kPage = 4096;
    // Pages stay locked and locking one twice does no harm, so each thread only remembers what
    // it asked for itself: no shared state for the workers of many small files to queue on.
    thread_local std::unordered_set<std::uintptr_t> requested;
    const auto first = reinterpret_cast<std::uintptr_t>(data) & ~(kPage - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(data) + size;
    for (auto page = first; page < end; page += kPage) {
        if (requested.insert(page).second) {
            lockPage(reinterpret_cast<const void*>(page), kPage);
        }
    }
}

}  // namespace marnoq
