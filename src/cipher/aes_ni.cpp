#include <immintrin.h>

#include "cipher/block_path.h"
#include "secure/wipe.h"

namespace marnoq {
namespace {

constexpr std::size_t kLanes = 8;  // blocks in flight: enough to hide the AESENC latency

#define MARNOQ_AESNI __attribute__((target("aes,sse4.1")))

MARNOQ_AESNI void loadKeys(const std::uint32_t* roundKeys, int rounds, __m128i* keys) {
    for (int r = 0; r <= rounds; ++r) {
        keys[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(roundKeys + 4 * r));
    }
}

template <bool kEncrypt>
MARNOQ_AESNI __m128i middleRound(__m128i block, __m128i key) {
    return kEncrypt ? _mm_aesenc_si128(block, key) : _mm_aesdec_si128(block, key);
}

template <bool kEncrypt>
MARNOQ_AESNI __m128i lastRound(__m128i block, __m128i key) {
    return kEncrypt ? _mm_aesenclast_si128(block, key) : _mm_aesdeclast_si128(block, key);
}

template <bool kEncrypt>
MARNOQ_AESNI void run(const std::uint32_t* roundKeys, int rounds, const std::uint8_t* in,
                      std::uint8_t* out, std::size_t blocks) {
    __m128i keys[15];
    loadKeys(roundKeys, rounds, keys);
    std::size_t i = 0;
    for (; i + kLanes <= blocks; i += kLanes) {
        __m128i b[kLanes];
        for (std::size_t k = 0; k < kLanes; ++k) {
            b[k] = _mm_xor_si128(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * (i + k))), keys[0]);
        }
        for (int r = 1; r < rounds; ++r) {
            for (std::size_t k = 0; k < kLanes; ++k) {
                b[k] = middleRound<kEncrypt>(b[k], keys[r]);
            }
        }
        for (std::size_t k = 0; k < kLanes; ++k) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * (i + k)),
                             lastRound<kEncrypt>(b[k], keys[rounds]));
        }
    }
    for (; i < blocks; ++i) {
        __m128i b =
            _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * i)), keys[0]);
        for (int r = 1; r < rounds; ++r) {
            b = middleRound<kEncrypt>(b, keys[r]);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * i),
                         lastRound<kEncrypt>(b, keys[rounds]));
    }
    secureWipe(keys, sizeof keys);
    clearVectorRegisters();
}

}  // namespace

const BlockPath kAesNiPath{"aes-ni", run<true>, run<false>};

}  // namespace marnoq
