#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cipher/rijndael.h"
#include "digest/crc32.h"
#include "io/input_file.h"
#include "io/output_file.h"

namespace marnoq {
namespace {

// A 64 MiB file in the temporary folder, encrypted into a new file each round: the whole
// pipeline of read, CRC-32, cipher and write from and to the page cache.
class FileFixture : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State&) override {
        plainPath = "/tmp/marnoq-bench-plain";
        cipherPath = "/tmp/marnoq-bench-plain.aes";
        std::vector<std::uint8_t> chunk(1 << 20, 0x5A);
        io::OutputFile out = io::OutputFile::createOrTruncate(plainPath);
        for (int i = 0; i < 64; ++i) {
            out.write(chunk);
        }
        out.close();
    }
    void TearDown(const benchmark::State&) override {
        ::unlink(plainPath.c_str());
        ::unlink(cipherPath.c_str());
    }
    std::string plainPath, cipherPath;
};

BENCHMARK_F(FileFixture, EncryptFileWithCrc)(benchmark::State& state) {
    cRijndael cipher;
    std::vector<std::uint8_t> key(32, 7);
    cipher.SetCipherKey(key, 256);
    for (auto _ : state) {
        io::InputFile in(plainPath);
        io::OutputFile out = io::OutputFile::createOrTruncate(cipherPath);
        Crc32 crc;
        cipher.EncryptToSink(in, out, std::string(31, 'h'), &crc);
        out.close();
        benchmark::DoNotOptimize(crc.value());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (64 << 20));
}

BENCHMARK_F(FileFixture, DecryptFileWithCrc)(benchmark::State& state) {
    cRijndael cipher;
    std::vector<std::uint8_t> key(32, 7);
    cipher.SetCipherKey(key, 256);
    cipher.FileEncrypt(plainPath, cipherPath, std::string(31, 'h'));
    for (auto _ : state) {
        io::InputFile in(cipherPath);
        std::optional<io::OutputFile> out;
        Crc32 crc;
        cipher.DecryptToSink(in, 31, [&]() -> io::ByteSink& {
            return out.emplace(io::OutputFile::createOrTruncate(plainPath));
        }, &crc);
        out->close();
        benchmark::DoNotOptimize(crc.value());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (64 << 20));
}

}  // namespace
}  // namespace marnoq
