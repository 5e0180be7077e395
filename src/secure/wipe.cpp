#include "secure/wipe.h"

#include <cstring>

namespace marnoq {

void secureWipe(void* data, std::size_t length) {
    if (length == 0) {
        return;
    }
    std::memset(data, 0, length);
    // The barrier tells the compiler the zeros are observed, so the memset stays.
    __asm__ __volatile__("" : : "r"(data) : "memory");
}

}  // namespace marnoq
