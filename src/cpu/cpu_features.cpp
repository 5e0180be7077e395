#include "cpu/cpu_features.h"

#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace marnoq::cpu {
namespace {

bool portableForced() {
    // Read once, before any thread of ours exists.
    const char* value = std::getenv("MARNOQ_PORTABLE");  // NOLINT(concurrency-mt-unsafe)
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

#if defined(__x86_64__) || defined(__i386__)
// Leaf 7 bits read directly: not every compiler's builtin knows the vector AES features.
bool leaf7EcxBit(unsigned bit) {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0 && (ecx >> bit & 1U) != 0;
}
#endif

Features probe() {
    Features found;
    if (portableForced()) {
        return found;
    }
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    found.aes = __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse4.1");
    found.pclmul = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    found.avx2 = __builtin_cpu_supports("avx2");
    found.vaes = found.avx2 && found.aes && leaf7EcxBit(9);
    found.vpclmul = found.avx2 && found.pclmul && leaf7EcxBit(10);
    found.avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                   __builtin_cpu_supports("avx512vl");
#endif
    return found;
}

}  // namespace

const Features& features() {
    static const Features probed = probe();
    return probed;
}

}  // namespace marnoq::cpu
