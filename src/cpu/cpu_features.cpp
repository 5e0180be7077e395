#include "cpu/cpu_features.h"

#include <cstdlib>
#include <cstring>

namespace marnoq::cpu {
namespace {

bool portableForced() {
    const char* value = std::getenv("MARNOQ_PORTABLE");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

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
    found.vaes = found.avx2 && found.aes && __builtin_cpu_supports("vaes");
    found.vpclmul = found.avx2 && found.pclmul && __builtin_cpu_supports("vpclmulqdq");
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
