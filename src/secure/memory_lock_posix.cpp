#include <sys/mman.h>

#include "secure/memory_lock.h"

namespace marnoq {

void lockInMemory(const void* data, std::size_t size) {
    if (size != 0) {
        ::mlock(data, size);
    }
}

void unlockInMemory(const void* data, std::size_t size) {
    if (size != 0) {
        ::munlock(data, size);
    }
}

}  // namespace marnoq
