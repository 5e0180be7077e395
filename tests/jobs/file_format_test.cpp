#include "jobs/file_format.h"

#include <gtest/gtest.h>

#include "cipher/rijndael.h"
#include "jobs/job_fixture.h"
#include "jobs/windows1252.h"
#include "support/hex.h"

namespace marnoq {
namespace {

using test::toHex;

TEST(FileFormat, TheNineDigitExampleByteByByte) {
    test::TempDir dir;
    test::writeText(dir.file("digits.txt"), "123456789");
    test::FakeView view;
    ASSERT_TRUE(test::runJob(view, test::Job::Encrypt, {dir.file("digits.txt")}).allDone());
    auto stored = test::readBytes(dir.file("digits.txt.aes"));
    ASSERT_EQ(stored.size(), 47u);
    EXPECT_EQ(std::string(stored.begin(), stored.begin() + 11), "aesCBF43926");
    // SHA-1 of "geheim" followed by the product's salt, computed independently.
    EXPECT_EQ(toHex({stored.begin() + 11, stored.begin() + 31}),
              "0958301e7e0ede370cd81b1aa05bd7d63dc43ad9");
    cRijndael cipher;
    cipher.SetCipherKeyString("geheim", 256);
    std::vector<std::uint8_t> block(16);
    cipher.BlockDecrypt(block, stored, 0, 31);
    EXPECT_EQ(toHex(block), "31323334353637383900000000000009");
}

TEST(FileFormat, SaltKeyAndHashRules) {
    EXPECT_EQ(jobs::PasswordSalt(), "Marnoq#AES256-Salz:Dateischutz!2026~qX");
    // The hash trims spaces, the key does not: stored files depend on the asymmetry.
    EXPECT_EQ(jobs::saltedPasswordHash("  geheim "), jobs::saltedPasswordHash("geheim"));
    EXPECT_NE(jobs::saltedPasswordHash("\tgeheim"), jobs::saltedPasswordHash("geheim"));
    EXPECT_NE(jobs::makeKeyBytes(" geheim").bytes, jobs::makeKeyBytes("geheim").bytes);
    EXPECT_EQ(jobs::saltedPasswordHash("   "), jobs::saltedPasswordHash(""));
    auto umlauts = jobs::toWindows1252("Größe€");
    ASSERT_TRUE(umlauts);
    EXPECT_EQ(toHex(std::vector<std::uint8_t>(umlauts->begin(), umlauts->end())), "4772f6df6580");
    auto hash = jobs::saltedPasswordHash(*umlauts);
    EXPECT_EQ(toHex(std::vector<std::uint8_t>(hash.begin(), hash.end())),
              "b9568b8f16a64d37dde5ed94367011a49d74d3f5");
    EXPECT_EQ(jobs::toWindows1252("a\u00A0b").value_or(""),
              "a\xA0"
              "b");  // no-break space
    EXPECT_FALSE(jobs::toWindows1252("Łódź"));
    EXPECT_FALSE(jobs::toWindows1252("\xC3"));  // cut UTF-8
    EXPECT_EQ(jobs::fromWindows1252("\x80\x81\xE4"), "€\xC2\x81ä");
    EXPECT_EQ(jobs::makeKeyBytes(std::string(40, 'k')).bytes[31], 'k');
    EXPECT_EQ(jobs::makeKeyBytes("ab").bytes[2], 0);
    EXPECT_EQ(jobs::crcTextFor(0x1234u, 1), "00000000");
    EXPECT_EQ(jobs::crcTextFor(0x1234u, 2), "00001234");
    EXPECT_FALSE(jobs::bodyLengthValid(31));
    EXPECT_FALSE(jobs::bodyLengthValid(31 + 17));
    EXPECT_TRUE(jobs::bodyLengthValid(31 + 32));
}

}  // namespace
}  // namespace marnoq
