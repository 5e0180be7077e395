#include <benchmark/benchmark.h>

#include <vector>

#include "cipher/block_path.h"
#include "cipher/rijndael.h"

namespace marnoq {
namespace {

constexpr std::size_t kBytes = 256 * 1024;  // a cache-sized buffer, like the file pipeline's

// Index 0 is the table code; the others are this processor's hardware paths.
const BlockPath* pathAt(std::int64_t index) {
    return index == 0 ? nullptr : availableBlockPaths().at(static_cast<std::size_t>(index - 1));
}

void blockCipher(benchmark::State& state, bool encrypt) {
    const BlockPath* path = pathAt(state.range(0));
    selectBlockPath(path);
    state.SetLabel(path != nullptr ? path->name : "portable");
    cRijndael cipher;
    std::vector<std::uint8_t> key(32, 7);
    cipher.SetCipherKey(key, 256);
    std::vector<std::uint8_t> buffer(kBytes, 1);
    for (auto _ : state) {
        if (encrypt) {
            cipher.EncryptBlocks(buffer.data(), buffer.data(), buffer.size() / 16);
        } else {
            cipher.DecryptBlocks(buffer.data(), buffer.data(), buffer.size() / 16);
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
    selectBlockPath(availableBlockPaths().empty() ? nullptr : availableBlockPaths().back());
}

void BM_BlockEncrypt(benchmark::State& state) { blockCipher(state, true); }
void BM_BlockDecrypt(benchmark::State& state) { blockCipher(state, false); }

void paths(benchmark::internal::Benchmark* b) {
    for (std::size_t i = 0; i <= availableBlockPaths().size(); ++i) {
        b->Arg(static_cast<std::int64_t>(i));
    }
}

BENCHMARK(BM_BlockEncrypt)->Apply(paths);
BENCHMARK(BM_BlockDecrypt)->Apply(paths);

void BM_ArrayEncrypt(benchmark::State& state) {
    cRijndael cipher;
    std::vector<std::uint8_t> key(32, 7);
    cipher.SetCipherKey(key, 256);
    std::vector<std::uint8_t> plain(static_cast<std::size_t>(state.range(0)), 3);
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        cipher.ArrayEncrypt(plain, out, 1);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plain.size()));
}
BENCHMARK(BM_ArrayEncrypt)->Arg(1000)->Arg(1 << 20);

void BM_KeySchedule(benchmark::State& state) {
    std::vector<std::uint8_t> key(32, 7);
    for (auto _ : state) {
        cRijndael cipher;
        cipher.SetCipherKey(key, 256);
        benchmark::DoNotOptimize(cipher.Rounds());
    }
}
BENCHMARK(BM_KeySchedule);

}  // namespace
}  // namespace marnoq
