#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "digest/clsSHA.h"
#include "digest/crc32.h"
#include "digest/crc32_path.h"

namespace marnoq {
namespace {

void BM_Crc32(benchmark::State& state) {
    const std::int64_t index = state.range(0);
    const CrcPath* path =
        index == 0 ? nullptr : availableCrcPaths().at(static_cast<std::size_t>(index - 1));
    CrcUpdate update = path != nullptr ? path->update : crc32Portable;
    state.SetLabel(path != nullptr ? path->name : "portable");
    std::vector<std::uint8_t> buffer(256 * 1024, 5);
    std::uint32_t reg = 0xFFFFFFFFu;
    for (auto _ : state) {
        reg = update(reg, buffer.data(), buffer.size());
        benchmark::DoNotOptimize(reg);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}

void crcPaths(benchmark::internal::Benchmark* b) {
    for (std::size_t i = 0; i <= availableCrcPaths().size(); ++i) {
        b->Arg(static_cast<std::int64_t>(i));
    }
}
BENCHMARK(BM_Crc32)->Apply(crcPaths);

void BM_Sha1SaltedPassword(benchmark::State& state) {
    clsSHA sha;
    for (auto _ : state) {
        std::string message = "ein Passwort" + std::string(38, 's');
        benchmark::DoNotOptimize(sha.SHA1_string(message));
    }
}
BENCHMARK(BM_Sha1SaltedPassword);

void BM_Sha1Bulk(benchmark::State& state) {
    std::vector<std::uint8_t> buffer(1 << 20, 9);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sha1Digest(buffer));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_Sha1Bulk);

}  // namespace
}  // namespace marnoq
