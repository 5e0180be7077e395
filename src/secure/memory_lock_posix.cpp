#include <sys/mman.h>

#include "secure/memory_lock.h"

namespace marnoq {

void lockPage(const void* page, std::size_t size) {
    ::mlock(page, size);
}

}  // namespace marnoq
