#include <algorithm>
#include <array>
#include <cstdint>

#include "secure/memory_lock.h"

namespace marnoq {

void lockInMemory(const void* data, std::size_t size) {
    // The smallest page any supported system has; larger pages only mean a repeated request.
    constexpr std::uintptr_t kPage = 4096;
    // Pages stay locked and locking one twice does no harm, so each thread only remembers the
    // pages it asked for last: no shared state for the workers of many small files to queue on.
    // Trivially destructible on purpose: MinGW's emulated thread storage is freed before the
    // destructors of thread_local objects run, so a set here was torn down in freed memory and
    // crashed worker threads at exit.
    struct Recent {
        std::array<std::uintptr_t, 64> pages;
        std::size_t next;
    };
    thread_local Recent recent{};
    const auto first = reinterpret_cast<std::uintptr_t>(data) & ~(kPage - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(data) + size;
    for (auto page = first; page < end; page += kPage) {
        if (std::find(recent.pages.begin(), recent.pages.end(), page) == recent.pages.end()) {
            lockPage(reinterpret_cast<const void*>(page), kPage);
            recent.pages[recent.next] = page;
            recent.next = (recent.next + 1) % recent.pages.size();
        }
    }
}

}  // namespace marnoq
