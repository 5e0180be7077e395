#include <immintrin.h>

#include "digest/crc32_path.h"

namespace marnoq {
namespace {

// Folding constants for the reflected polynomial: (x^(D+32), x^(D-32)) mod P for a fold over
// D bits, x^64 mod P, and the Barrett pair (P, floor(x^64 / P)).
constexpr long long kFold512Low = 0x154442bd4, kFold512High = 0x1c6e41596;
constexpr long long kFold128Low = 0x1751997d0, kFold128High = 0x0ccaa009e;
constexpr long long kFold1024Low = 0x1e88ef372, kFold1024High = 0x14a7fe880;
constexpr long long kX64 = 0x163cd6124;
constexpr long long kPoly = 0x1db710641, kMu = 0x1f7011641;

#define MARNOQ_CLMUL __attribute__((target("pclmul,sse4.1")))
#define MARNOQ_VPCLMUL __attribute__((target("vpclmulqdq,avx2,pclmul,sse4.1")))

MARNOQ_CLMUL inline __m128i load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// acc * x^128 folded onto the next 16 bytes.
MARNOQ_CLMUL inline __m128i fold(__m128i acc, __m128i next, __m128i constants) {
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(acc, constants, 0x00),
                                       _mm_clmulepi64_si128(acc, constants, 0x11)),
                         next);
}

// 128 bits of folded remainder down to the 32-bit register.
MARNOQ_CLMUL std::uint32_t reduce(__m128i x1) {
    const __m128i k3k4 = _mm_set_epi64x(kFold128High, kFold128Low);
    const __m128i mask = _mm_setr_epi32(~0, 0, ~0, 0);
    __m128i x2 = _mm_clmulepi64_si128(x1, k3k4, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    const __m128i k5 = _mm_set_epi64x(0, kX64);
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask), k5, 0x00), x2);
    const __m128i poly = _mm_set_epi64x(kMu, kPoly);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x1, mask), poly, 0x10);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x2, mask), poly, 0x00);
    return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, x2), 1));
}

// Folds 16-byte pieces into the accumulator, then finishes with the table loop.
MARNOQ_CLMUL std::uint32_t finish(__m128i acc, const std::uint8_t* data, std::size_t length) {
    const __m128i k3k4 = _mm_set_epi64x(kFold128High, kFold128Low);
    for (; length >= 16; data += 16, length -= 16) {
        acc = fold(acc, load(data), k3k4);
    }
    return crc32Portable(reduce(acc), data, length);
}

MARNOQ_CLMUL std::uint32_t clmulUpdate(std::uint32_t reg, const std::uint8_t* data,
                                       std::size_t length) {
    if (length < 64) {
        return crc32Portable(reg, data, length);
    }
    const __m128i k1k2 = _mm_set_epi64x(kFold512High, kFold512Low);
    const __m128i k3k4 = _mm_set_epi64x(kFold128High, kFold128Low);
    __m128i x1 = _mm_xor_si128(load(data), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i x2 = load(data + 16);
    __m128i x3 = load(data + 32);
    __m128i x4 = load(data + 48);
    data += 64;
    length -= 64;
    for (; length >= 64; data += 64, length -= 64) {
        x1 = fold(x1, load(data), k1k2);
        x2 = fold(x2, load(data + 16), k1k2);
        x3 = fold(x3, load(data + 32), k1k2);
        x4 = fold(x4, load(data + 48), k1k2);
    }
    x1 = fold(fold(fold(x1, x2, k3k4), x3, k3k4), x4, k3k4);
    return finish(x1, data, length);
}

MARNOQ_VPCLMUL inline __m256i load256(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

MARNOQ_VPCLMUL inline __m256i fold256(__m256i acc, __m256i next, __m256i constants) {
    return _mm256_xor_si256(
        _mm256_xor_si256(_mm256_clmulepi64_epi128(acc, constants, 0x00),
                         _mm256_clmulepi64_epi128(acc, constants, 0x11)),
        next);
}

MARNOQ_VPCLMUL std::uint32_t vpclmulUpdate(std::uint32_t reg, const std::uint8_t* data,
                                           std::size_t length) {
    constexpr std::size_t kStep = 4 * 32;
    if (length < 2 * kStep) {
        return clmulUpdate(reg, data, length);
    }
    const __m256i k = _mm256_set_epi64x(kFold1024High, kFold1024Low, kFold1024High, kFold1024Low);
    __m256i y[4];
    for (int i = 0; i < 4; ++i) {
        y[i] = load256(data + 32 * i);
    }
    y[0] = _mm256_xor_si256(y[0], _mm256_zextsi128_si256(_mm_cvtsi32_si128(static_cast<int>(reg))));
    data += kStep;
    length -= kStep;
    for (; length >= kStep; data += kStep, length -= kStep) {
        for (int i = 0; i < 4; ++i) {
            y[i] = fold256(y[i], load256(data + 32 * i), k);
        }
    }
    // Eight 128-bit lanes in data order, folded into one.
    const __m128i k3k4 = _mm_set_epi64x(kFold128High, kFold128Low);
    __m128i acc = _mm256_castsi256_si128(y[0]);
    acc = fold(acc, _mm256_extracti128_si256(y[0], 1), k3k4);
    for (int i = 1; i < 4; ++i) {
        acc = fold(acc, _mm256_castsi256_si128(y[i]), k3k4);
        acc = fold(acc, _mm256_extracti128_si256(y[i], 1), k3k4);
    }
    return finish(acc, data, length);
}

}  // namespace

const CrcPath kCrcClmulPath{"pclmulqdq", clmulUpdate};
const CrcPath kCrcVpclmulPath{"vpclmulqdq-256", vpclmulUpdate};

}  // namespace marnoq
