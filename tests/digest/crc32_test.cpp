#include <gtest/gtest.h>

#include "digest/clsCRC.h"
#include "digest/crc32.h"
#include "io/file_error.h"
#include "support/paths.h"
#include "support/temp_dir.h"

namespace marnoq {
namespace {

std::uint32_t reference(const std::vector<std::uint8_t>& bytes) {
    return ~crc32Bytewise(0xFFFFFFFFu, bytes.data(), bytes.size());
}

TEST(Crc32, CheckValueAndTableEntries) {
    const std::string check = "123456789";
    std::vector<std::uint8_t> bytes(check.begin(), check.end());
    EXPECT_EQ(reference(bytes), 0xCBF43926u);
    clsCRC crc;
    EXPECT_EQ(static_cast<std::uint32_t>(crc.AddBytes(bytes)), 0xCBF43926u);
    EXPECT_EQ(crcHex(0x0000BEEFu), "0000BEEF");
    EXPECT_EQ(crcFoldConstant(544), 0x154442bd4u);  // the 512-bit folding constant
    EXPECT_EQ(crcFoldConstant(64), 0x163cd6124u);
}

class CrcPathTest : public ::testing::TestWithParam<const CrcPath*> {};

TEST_P(CrcPathTest, EqualsTheByteLoopForEveryLengthAndAlignment) {
    auto data = test::randomBytes(300 + 64, 5);
    CrcUpdate update = GetParam() != nullptr ? GetParam()->update : crc32Portable;
    for (std::size_t start = 0; start < 64; ++start) {
        for (std::size_t length = 0; length <= 300; ++length) {
            std::uint32_t expected = crc32Bytewise(0x12345678u, data.data() + start, length);
            ASSERT_EQ(update(0x12345678u, data.data() + start, length), expected)
                << "start " << start << " length " << length;
        }
    }
    auto big = test::randomBytes(3 * 1024 * 1024 + 77, 9);
    EXPECT_EQ(update(0xFFFFFFFFu, big.data() + 1, big.size() - 1),
              crc32Bytewise(0xFFFFFFFFu, big.data() + 1, big.size() - 1));
}

INSTANTIATE_TEST_SUITE_P(EveryPath, CrcPathTest, ::testing::ValuesIn(test::allCrcPaths()),
                         [](const auto& info) { return test::pathLabel(info.param); });

TEST(ClsCrc, RegisterPiecesClearAndValue) {
    auto bytes = test::randomBytes(1000);
    clsCRC whole;
    std::int32_t all = whole.AddBytes(bytes);
    clsCRC pieces;
    pieces.AddBytes(std::span(bytes).first(1));
    pieces.CalculateBytes(std::span(bytes).subspan(1, 500));
    EXPECT_EQ(pieces.CalculateBytes(std::span(bytes).subspan(501)), all);
    EXPECT_EQ(pieces.AddBytes({}), all);
    pieces.Clear();
    EXPECT_EQ(pieces.Value(), 0);
    pieces.Value(0x12345678);
    EXPECT_EQ(pieces.Value(), ~0x12345678);
    pieces.Value(-5);
    EXPECT_EQ(pieces.Value(), 4);
    EXPECT_THROW(pieces.Value(std::int64_t{1} << 31), std::overflow_error);
    EXPECT_EQ(pieces.Value(), 4);  // unchanged by the refused write
}

TEST(ClsCrc, FilesOfEveryChunkShapeAndTheOneByteQuirk) {
    test::TempDir dir;
    clsCRC crc;
    // Chunk shapes none; 1, never read, as stored files expect; 2; 4096; 4097; 4096+2;
    // 4096+4097; 8192+2; many. Events run after every 4096-byte chunk and after every pass of
    // the outer loop.
    const std::pair<std::size_t, int> shapes[] = {{0, 0},    {1, 0},    {2, 1},
                                                  {4096, 1}, {4097, 1}, {4098, 3},
                                                  {8193, 3}, {8194, 4}, {3u << 20, 769}};
    for (auto [n, expectedPumps] : shapes) {
        const auto bytes = test::randomBytes(n, static_cast<std::uint32_t>(n));
        test::writeBytes(dir.file("f"), bytes);
        int pumps = 0;
        EXPECT_EQ(crc.CalculateFile(dir.file("f"), [&] { ++pumps; }),
                  n == 1 ? "00000000" : crcHex(reference(bytes)))
            << n;
        EXPECT_EQ(pumps, expectedPumps) << n;
        crc.Clear();
    }
    // Without Clear the second file continues from the first.
    test::writeText(dir.file("a"), "123456789");
    EXPECT_EQ(crc.CalculateFile(dir.file("a")), "CBF43926");
    EXPECT_NE(crc.CalculateFile(dir.file("a")), "CBF43926");
    EXPECT_THROW(crc.CalculateFile(dir.file("missing")), io::FileError);
}

}  // namespace
}  // namespace marnoq
