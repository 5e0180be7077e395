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

void clearVectorRegisters() {
#if defined(__x86_64__)
    __asm__ __volatile__(
        "pxor %%xmm0, %%xmm0\n\tpxor %%xmm1, %%xmm1\n\tpxor %%xmm2, %%xmm2\n\t"
        "pxor %%xmm3, %%xmm3\n\tpxor %%xmm4, %%xmm4\n\tpxor %%xmm5, %%xmm5\n\t"
        "pxor %%xmm6, %%xmm6\n\tpxor %%xmm7, %%xmm7\n\tpxor %%xmm8, %%xmm8\n\t"
        "pxor %%xmm9, %%xmm9\n\tpxor %%xmm10, %%xmm10\n\tpxor %%xmm11, %%xmm11\n\t"
        "pxor %%xmm12, %%xmm12\n\tpxor %%xmm13, %%xmm13\n\tpxor %%xmm14, %%xmm14\n\t"
        "pxor %%xmm15, %%xmm15"
        :
        :
        : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8", "xmm9", "xmm10",
          "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
#endif
}

__attribute__((noinline)) void wipeStackBelow() {
    // Deeper than any call chain of a job (cipher, digest, key set-up) goes.
    unsigned char area[64 * 1024];
    secureWipe(area, sizeof area);
}

}  // namespace marnoq
