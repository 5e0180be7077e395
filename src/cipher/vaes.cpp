#include <immintrin.h>

#include "cipher/block_path.h"
#include "secure/wipe.h"

namespace marnoq {
namespace {

// 8 registers of two blocks each: 16 blocks in flight, round keys held in registers.
constexpr std::size_t kRegisters = 8;
constexpr std::size_t kBlocksPerStep = 2 * kRegisters;

#define MARNOQ_VAES __attribute__((target("vaes,avx2,aes,sse4.1")))

MARNOQ_VAES void loadKeys(const std::uint32_t* roundKeys, int rounds, __m256i* keys) {
    for (int r = 0; r <= rounds; ++r) {
        keys[r] = _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(roundKeys + 4 * r)));
    }
}

template <bool kEncrypt>
MARNOQ_VAES void run(const std::uint32_t* roundKeys, int rounds, const std::uint8_t* in,
                     std::uint8_t* out, std::size_t blocks) {
    __m256i keys[15];
    loadKeys(roundKeys, rounds, keys);
    std::size_t i = 0;
    for (; i + kBlocksPerStep <= blocks; i += kBlocksPerStep) {
        __m256i b[kRegisters];
        for (std::size_t k = 0; k < kRegisters; ++k) {
            b[k] = _mm256_xor_si256(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 16 * i + 32 * k)),
                keys[0]);
        }
        for (int r = 1; r < rounds; ++r) {
            for (std::size_t k = 0; k < kRegisters; ++k) {
                b[k] = kEncrypt ? _mm256_aesenc_epi128(b[k], keys[r])
                                : _mm256_aesdec_epi128(b[k], keys[r]);
            }
        }
        for (std::size_t k = 0; k < kRegisters; ++k) {
            __m256i last = kEncrypt ? _mm256_aesenclast_epi128(b[k], keys[rounds])
                                    : _mm256_aesdeclast_epi128(b[k], keys[rounds]);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16 * i + 32 * k), last);
        }
    }
    secureWipe(keys, sizeof keys);
    _mm256_zeroall();  // the upper halves as well, which the SSE path does not reach
    if (i < blocks) {
        const BlockPath& tail = kAesNiPath;
        (kEncrypt ? tail.encrypt : tail.decrypt)(roundKeys, rounds, in + 16 * i, out + 16 * i,
                                                 blocks - i);
    }
}

}  // namespace

const BlockPath kVaesPath{"vaes-256", run<true>, run<false>};

}  // namespace marnoq
