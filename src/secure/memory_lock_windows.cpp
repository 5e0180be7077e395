#include <windows.h>

#include "secure/memory_lock.h"

namespace marnoq {

void lockInMemory(const void* data, std::size_t size) {
    if (size != 0) {
        ::VirtualLock(const_cast<void*>(data), size);
    }
}

void unlockInMemory(const void* data, std::size_t size) {
    if (size != 0) {
        ::VirtualUnlock(const_cast<void*>(data), size);
    }
}

}  // namespace marnoq
