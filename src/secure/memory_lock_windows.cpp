#include <windows.h>

#include "secure/memory_lock.h"

namespace marnoq {

void lockPage(const void* page, std::size_t size) {
    ::VirtualLock(const_cast<void*>(page), size);
}

}  // namespace marnoq
