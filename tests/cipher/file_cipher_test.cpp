#include <gtest/gtest.h>

#include "cipher/rijndael.h"
#include "io/file_error.h"
#include "support/paths.h"
#include "support/recording_events.h"
#include "support/temp_dir.h"

namespace marnoq {
namespace {

const std::string kHeader = "aesCBF43926" + std::string(20, '\x7F');

class FileCipherTest : public ::testing::Test {
  protected:
    void SetUp() override { cipher.SetCipherKey(key, 256); }
    // Encrypts a plain file of n bytes; returns the encrypted bytes.
    std::vector<std::uint8_t> encrypt(std::size_t n, const std::string& header = kHeader) {
        test::writeBytes(dir.file("plain"),
                         test::randomBytes(n, static_cast<std::uint32_t>(n + 1)));
        EXPECT_EQ(cipher.FileEncrypt(dir.file("plain"), dir.file("plain.aes"), header), 0);
        return test::readBytes(dir.file("plain.aes"));
    }
    std::vector<std::uint8_t> key = test::randomBytes(32, 11);
    test::TempDir dir;
    test::RecordingEvents events;
    cRijndael cipher{&events};
};

// The decrypt job's round trip covers the way back.
TEST_F(FileCipherTest, AwkwardSizesGetTheHeaderZeroPaddingAndLengthByte) {
    for (std::size_t n : {0u, 1u, 15u, 16u, 17u, 39999u, 40000u, 40001u, 199999u, 200000u, 200016u,
                          3u * 1024 * 1024 + 5}) {
        auto stored = encrypt(n);
        const std::size_t body = (n + 16) & ~std::size_t{15};
        ASSERT_EQ(stored.size(), kHeader.size() + body) << n;
        EXPECT_TRUE(std::equal(kHeader.begin(), kHeader.end(), stored.begin()));
        // The last block, deciphered on its own, holds the data tail, zeros and n mod 16.
        std::vector<std::uint8_t> last(16);
        cipher.BlockDecrypt(last, stored, 0, stored.size() - 16);
        EXPECT_EQ(last[15], n % 16) << n;
        for (std::size_t i = n % 16; i < 15; ++i) {
            EXPECT_EQ(last[i], 0) << n;
        }
    }
}

// Events run before each full chunk only. The cases pin the rounding of the chunk count too.
TEST_F(FileCipherTest, ProgressAndEventsFollowTheFullChunksInFloat) {
    const struct {
        std::size_t plainLength;
        std::vector<float> percents;
        int pumps;
    } cases[] = {
        {0, {100.0f}, 0},             // body 16: only the final event
        {40000, {100.0f}, 1},         // body 40016: one chunk, step 100, no final event
        {59990, {50.0f, 100.0f}, 1},  // body 60000: 1.5 chunks round to 2
        {99990, {50.0f, 100.0f}, 2},  // body 100000: 2.5 round to 2, no final event
        {19980, {100.0f}, 0},         // body 19984: no chunk at all
        {240000,                      // six steps of 100/6 fall short of 100
         {16.666666f, 33.333332f, 50.0f, 66.666664f, 83.33333f, 99.99999f, 100.0f},
         6},
    };
    for (const auto& c : cases) {
        events.percents.clear();
        events.pumps = 0;
        encrypt(c.plainLength);
        EXPECT_EQ(events.percents, c.percents) << "encrypt " << c.plainLength;
        EXPECT_EQ(events.pumps, c.pumps) << c.plainLength;
        events.percents.clear();
        cipher.FileDecrypt(dir.file("back"), dir.file("plain.aes"), kHeader.size());
        EXPECT_EQ(events.percents, c.percents) << "decrypt " << c.plainLength;
    }
}

// Its message and progress are the decrypt job's checks; here only that no file is made.
TEST_F(FileCipherTest, SizeErrorWritesNothing) {
    test::writeBytes(dir.file("short.aes"), test::randomBytes(31 + 17));
    EXPECT_EQ(cipher.FileDecrypt(dir.file("out"), dir.file("short.aes"), 31), 1);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"short.aes"});
}

TEST_F(FileCipherTest, MissingFilesFailWithTheirPathAndOperation) {
    test::writeText(dir.file("plain"), "x");
    const struct {
        std::string from, to, failing;
        io::FileOperation operation;
    } cases[] = {
        {dir.file("nope"), dir.file("nope.aes"), dir.file("nope"), io::FileOperation::Open},
        {dir.file("plain"), dir.file("gone/p.aes"), dir.file("gone/p.aes"),
         io::FileOperation::Create},
    };
    for (const auto& c : cases) {
        try {
            cipher.FileEncrypt(c.from, c.to, kHeader);
            FAIL() << c.to;
        } catch (const io::FileError& error) {
            EXPECT_EQ(error.path(), c.failing);
            EXPECT_EQ(error.operation(), c.operation);
            EXPECT_EQ(error.code(), ENOENT);
        }
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"plain"});
}

TEST_F(FileCipherTest, FastAndPortablePathsWriteIdenticalFiles) {
    auto reference = [&] {
        test::PathScope portable(nullptr, nullptr);
        return encrypt(1234567);
    }();
    for (const BlockPath* path : test::allBlockPaths()) {
        test::PathScope scope(path, nullptr);
        EXPECT_EQ(encrypt(1234567), reference) << test::pathLabel(path);
    }
}

}  // namespace
}  // namespace marnoq
