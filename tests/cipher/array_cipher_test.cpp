#include <gtest/gtest.h>

#include "cipher/rijndael.h"
#include "support/recording_events.h"
#include "support/temp_dir.h"

namespace marnoq {
namespace {

class ArrayCipherTest : public ::testing::Test {
  protected:
    void SetUp() override { cipher.SetCipherKey(test::randomBytes(32, 3), 256); }
    test::RecordingEvents events;
    cRijndael cipher{&events};
};

// With the length byte the plaintext comes back as it was, but an empty one as 16 zero bytes;
// without it the zero padding stays.
TEST_F(ArrayCipherTest, PaddingWithAndWithoutTheLengthByte) {
    const struct {
        std::size_t length;
        int lengthByte;
        std::size_t stored, restored;
    } cases[] = {
        {0, 1, 16, 16},        {1, 1, 16, 1},   {15, 1, 16, 15}, {16, 1, 32, 16},
        {17, 1, 32, 17},       {20, 1, 32, 20}, {31, 1, 32, 31}, {32, 1, 48, 32},
        {1000, 1, 1008, 1000}, {0, 0, 0, 0},    {16, 0, 16, 16}, {20, 0, 32, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + (c.lengthByte ? " with" : " without"));
        const auto plain = test::randomBytes(c.length, static_cast<std::uint32_t>(c.length));
        std::vector<std::uint8_t> stored;
        ASSERT_EQ(cipher.ArrayEncrypt(plain, stored, c.lengthByte), 0);
        EXPECT_EQ(stored.size(), c.stored);
        std::vector<std::uint8_t> back;
        ASSERT_EQ(cipher.ArrayDecrypt(back, stored, c.lengthByte), 0);
        ASSERT_EQ(back.size(), c.restored);
        EXPECT_TRUE(std::equal(plain.begin(), plain.end(), back.begin()));
        EXPECT_TRUE(std::all_of(back.begin() + static_cast<std::ptrdiff_t>(plain.size()),
                                back.end(), [](auto b) { return b == 0; }));
    }
    EXPECT_TRUE(events.messages.empty());
}

TEST_F(ArrayCipherTest, SizeErrorAndLengthWarningAreReported) {
    std::vector<std::uint8_t> untouched{1, 2, 3};
    EXPECT_EQ(cipher.ArrayDecrypt(untouched, test::randomBytes(17), 1), -1);
    EXPECT_EQ(untouched, (std::vector<std::uint8_t>{1, 2, 3}));
    ASSERT_EQ(events.messages, std::vector<std::string>{"ciphertext Size Error"});
    // A block whose last plaintext byte is 16, the first value no length can have.
    std::vector<std::uint8_t> block(16, 16);
    std::vector<std::uint8_t> cipherText(16);
    cipher.BlockEncrypt(block, cipherText, 0, 0);
    std::vector<std::uint8_t> back;
    EXPECT_EQ(cipher.ArrayDecrypt(back, cipherText, 1), 1);
    EXPECT_EQ(back, block);
    EXPECT_EQ(events.messages.back(), "warning - incorrect length field");
}

}  // namespace
}  // namespace marnoq
