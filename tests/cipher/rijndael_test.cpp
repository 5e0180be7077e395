#include "cipher/rijndael.h"

#include <gtest/gtest.h>

#include "cipher/cipher_error.h"
#include "support/hex.h"
#include "support/paths.h"
#include "support/temp_dir.h"

namespace marnoq {
namespace {

using test::fromHex;
using test::toHex;

struct Vector {
    int keyBits;
    const char* key;
    const char* plain;
    const char* cipher;
};

// FIPS-197 appendix C and SP 800-38A F.1.5 (ECB-AES256).
const Vector kVectors[] = {
    {128, "000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff",
     "69c4e0d86a7b0430d8cdb78070b4c55a"},
    {192, "000102030405060708090a0b0c0d0e0f1011121314151617", "00112233445566778899aabbccddeeff",
     "dda97ca4864cdfe06eaf70a0ec0d7191"},
    {256, "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
     "00112233445566778899aabbccddeeff", "8ea2b7ca516745bfeafc49904b496089"},
    {256, "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4",
     "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
     "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710",
     "f3eed1bdb5d2a03c064b5a7e3db181f8591ccb10d410ed26dc5ba74a31362870"
     "b6ed21b99ca6f4f9f153e7b1beafed1d23304b7a39f9f3ff067d8d8f9e24ecc7"},
};

class BlockPathTest : public ::testing::TestWithParam<const BlockPath*> {
  protected:
    test::PathScope scope{GetParam(), nullptr};
};

TEST_P(BlockPathTest, KnownAnswersInBothDirections) {
    for (const auto& v : kVectors) {
        cRijndael cipher;
        ASSERT_EQ(cipher.SetCipherKey(fromHex(v.key), v.keyBits), 0);
        auto plain = fromHex(v.plain);
        std::vector<std::uint8_t> out(plain.size());
        cipher.EncryptBlocks(plain.data(), out.data(), plain.size() / 16);
        EXPECT_EQ(toHex(out), v.cipher) << v.keyBits;
        cipher.DecryptBlocks(out.data(), out.data(), out.size() / 16);
        EXPECT_EQ(toHex(out), v.plain) << v.keyBits;
    }
}

TEST_P(BlockPathTest, MatchesTheTablesOnAwkwardLengthsUnalignedAndInPlace) {
    cRijndael cipher;
    cipher.SetCipherKey(test::randomBytes(32, 7), 256);
    for (std::size_t blocks : {0u, 1u, 2u, 3u, 4u, 5u, 7u, 8u, 9u, 15u, 16u, 17u, 33u, 131072u}) {
        auto source = test::randomBytes(16 * blocks + 3, static_cast<std::uint32_t>(blocks));
        const std::uint8_t* in = source.data() + 3;  // deliberately unaligned
        std::vector<std::uint8_t> reference(16 * blocks);
        for (std::size_t i = 0; i < blocks; ++i) {
            cipher.BlockEncrypt(std::span(in, 16 * blocks), reference, 16 * i, 16 * i);
        }
        std::vector<std::uint8_t> fast(in, in + 16 * blocks);
        cipher.EncryptBlocks(fast.data(), fast.data(), blocks);
        ASSERT_EQ(fast, reference) << blocks << " blocks";
        cipher.DecryptBlocks(fast.data(), fast.data(), blocks);
        ASSERT_TRUE(std::equal(fast.begin(), fast.end(), in)) << blocks << " blocks";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPath, BlockPathTest, ::testing::ValuesIn(test::allBlockPaths()),
                         [](const auto& info) { return test::pathLabel(info.param); });

TEST(Rijndael, SingleBlocksWithOffsetsAndInPlace) {
    cRijndael cipher;
    auto key = fromHex(kVectors[2].key);
    cipher.SetCipherKey(key, 256);
    std::vector<std::uint8_t> buffer(64, 0xEE);
    auto plain = fromHex(kVectors[2].plain);
    std::copy(plain.begin(), plain.end(), buffer.begin() + 16);
    cipher.BlockEncrypt(buffer, buffer, 16, 32);
    EXPECT_EQ(toHex({buffer.begin() + 32, buffer.begin() + 48}), kVectors[2].cipher);
    EXPECT_EQ(toHex({buffer.begin() + 16, buffer.begin() + 32}), kVectors[2].plain);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.begin() + 16, [](auto b) { return b == 0xEE; }));
    EXPECT_TRUE(std::all_of(buffer.begin() + 48, buffer.end(), [](auto b) { return b == 0xEE; }));
    cipher.BlockDecrypt(buffer, buffer, 32, 32);  // in place
    EXPECT_EQ(toHex({buffer.begin() + 32, buffer.begin() + 48}), kVectors[2].plain);
    EXPECT_THROW(cipher.BlockEncrypt(buffer, buffer, 56, 0), std::out_of_range);
}

TEST(Rijndael, KeyLengthsAndIllegalKeyBitsKeepThePreviousKey) {
    cRijndael cipher;
    auto key = fromHex(kVectors[2].key);  // 32 bytes
    auto plain = fromHex(kVectors[0].plain);
    std::vector<std::uint8_t> out(16);
    EXPECT_THROW(cipher.BlockEncrypt(plain, out, 0, 0), CipherError);  // no key yet
    cipher.SetCipherKey(key, 128);  // only the first 16 bytes count
    EXPECT_EQ(cipher.Rounds(), 10);
    cipher.BlockEncrypt(plain, out, 0, 0);
    EXPECT_EQ(toHex(out), kVectors[0].cipher);
    for (int bits : {0, 64, 512, 255}) {
        try {
            cipher.SetCipherKey(key, bits);
            ADD_FAILURE() << bits << " accepted";
        } catch (const CipherError& error) {
            EXPECT_EQ(error.number(), 1);
            EXPECT_STREQ(error.what(), "cRijndael.SetCipherKey - Illegal KeyBits Value");
        }
    }
    EXPECT_EQ(cipher.Rounds(), 10);
    cipher.BlockEncrypt(plain, out, 0, 0);
    EXPECT_EQ(toHex(out), kVectors[0].cipher);
    EXPECT_THROW(cipher.SetCipherKey(std::span(key).first(31), 256), CipherError);
}

// The text is cut or zero-filled to 32 bytes; the blocks come from another implementation.
TEST(Rijndael, KeyStringIsCutOrZeroFilledTo32Bytes) {
    const std::pair<std::string, const char*> cases[] = {
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefgh", "dc5322da9b42a5f60c37261c38868d05"},
        {"", "dea7b525b02ea7032b5f4efd2a53188f"},
        {"abc", "dd1867f504021c4185104cfc0649009c"},
    };
    const std::vector<std::uint8_t> block(16, 0x42);
    for (const auto& [text, expected] : cases) {
        cRijndael cipher;
        cipher.SetCipherKeyString(text, 256);
        std::vector<std::uint8_t> out(16);
        cipher.BlockEncrypt(block, out, 0, 0);
        EXPECT_EQ(toHex(out), expected) << text;
    }
    EXPECT_THROW(cRijndael().SetCipherKeyString("abc", 100), CipherError);
}

}  // namespace
}  // namespace marnoq
