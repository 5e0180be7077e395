// A file past 4 GiB through the command line: lengths and offsets must not wrap at 32 bits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "digest/crc32.h"
#include "io/input_file.h"
#include "support/cli_fixture.h"

namespace marnoq::test {
namespace {

constexpr std::uint64_t kLength = (std::uint64_t{4} << 30) + 17;  // 4 GiB and one odd block

// Sparse, with real bytes at the start, across the 4 GiB line and at the end.
void makeSparsePlain(const std::string& path) {
    setLength(path, kLength);
    const int fd = ::open(path.c_str(), O_WRONLY);
    const std::vector<std::uint8_t> marks = randomBytes(40, 7);
    for (const std::uint64_t at : {std::uint64_t{0}, (std::uint64_t{4} << 30) - 32, kLength - 40}) {
        ASSERT_EQ(::pwrite(fd, marks.data(), 40, static_cast<off_t>(at)), 40);
    }
    ::close(fd);
}

std::uint32_t crcOf(const std::string& path) {
    io::InputFile in(path);
    std::vector<std::uint8_t> buffer(1 << 20);
    Crc32 crc;
    while (const std::size_t got = in.read(buffer)) {
        crc.update(std::span(buffer).first(got));
    }
    return crc.value();
}

bool sameContents(const std::string& a, const std::string& b) {
    io::InputFile left(a), right(b);
    std::vector<std::uint8_t> x(1 << 20), y(1 << 20);
    for (;;) {
        const std::size_t n = left.read(x);
        if (right.read(y) != n ||
            !std::equal(x.begin(), x.begin() + static_cast<long>(n), y.begin())) {
            return false;
        }
        if (n == 0) {
            return true;
        }
    }
}

TEST_F(CliTest, HugeFileRoundTripPastFourGibibytes) {
    const std::string plain = dir.file("groß.img");
    makeSparsePlain(plain);
    const std::uint32_t expectedCrc = crcOf(plain);
    ASSERT_EQ(cli({"encrypt", "--password-file", "pw", plain}).status, 0);
    const std::string encrypted = plain + ".aes";
    EXPECT_EQ(std::filesystem::file_size(encrypted), 31 + ((kLength + 16) & ~std::uint64_t{15}));
    const auto info = cli({"info", encrypted});
    EXPECT_NE(info.out.find(crcHex(expectedCrc)), std::string::npos) << info.out;
    EXPECT_EQ(cli({"verify", "--password-file", "pw", encrypted}).status, 0);
    ASSERT_EQ(cli({"decrypt", "--password-file", "pw", encrypted}).status, 0);
    const std::string decrypted = dir.file("groß-dec.img");
    // The length byte of the last block cuts the output to the exact size.
    EXPECT_EQ(std::filesystem::file_size(decrypted), kLength);
    EXPECT_EQ(crcOf(decrypted), expectedCrc);
    EXPECT_TRUE(sameContents(plain, decrypted));
}

}  // namespace
}  // namespace marnoq::test
