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

TEST_F(ArrayCipherTest, PaddingAndLengthByteRoundTrip) {
    for (std::size_t n : {0u, 1u, 15u, 16u, 17u, 20u, 31u, 32u, 1000u}) {
        auto plain = test::randomBytes(n, static_cast<std::uint32_t>(n));
        std::vector<std::uint8_t> cipherText;
        ASSERT_EQ(cipher.ArrayEncrypt(plain, cipherText, 1), 0);
        EXPECT_EQ(cipherText.size(), (n + 16) & ~std::size_t{15}) << n;
        std::vector<std::uint8_t> back;
        ASSERT_EQ(cipher.ArrayDecrypt(back, cipherText, 1), 0);
        if (n % 16 == 0 && n == 0) {
            EXPECT_EQ(back, std::vector<std::uint8_t>(16, 0));  // never shrunk to nothing
        } else {
            EXPECT_EQ(back, plain) << n;
        }
    }
}

TEST_F(ArrayCipherTest, WithoutLengthByteTheZeroPaddingStays) {
    auto plain = test::randomBytes(20);
    std::vector<std::uint8_t> cipherText;
    cipher.ArrayEncrypt(plain, cipherText, 0);
    ASSERT_EQ(cipherText.size(), 32u);
    std::vector<std::uint8_t> back;
    ASSERT_EQ(cipher.ArrayDecrypt(back, cipherText, 0), 0);
    ASSERT_EQ(back.size(), 32u);
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), back.begin()));
    EXPECT_TRUE(std::all_of(back.begin() + 20, back.end(), [](auto b) { return b == 0; }));
    std::vector<std::uint8_t> sixteen;
    cipher.ArrayEncrypt(test::randomBytes(16), sixteen, 0);
    EXPECT_EQ(sixteen.size(), 16u);
}

TEST_F(ArrayCipherTest, SizeErrorAndLengthWarningAreReported) {
    std::vector<std::uint8_t> untouched{1, 2, 3};
    EXPECT_EQ(cipher.ArrayDecrypt(untouched, test::randomBytes(17), 1), -1);
    EXPECT_EQ(untouched, (std::vector<std::uint8_t>{1, 2, 3}));
    ASSERT_EQ(events.messages, std::vector<std::string>{"ciphertext Size Error"});
    // A block whose last plaintext byte is 16 or more.
    std::vector<std::uint8_t> block(16, 0xF0);
    std::vector<std::uint8_t> cipherText(16);
    cipher.BlockEncrypt(block, cipherText, 0, 0);
    std::vector<std::uint8_t> back;
    EXPECT_EQ(cipher.ArrayDecrypt(back, cipherText, 1), 1);
    EXPECT_EQ(back, block);
    EXPECT_EQ(events.messages.back(), "warning - incorrect length field");
}

}  // namespace
}  // namespace marnoq
