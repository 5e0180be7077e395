#include "digest/clsSHA.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace marnoq {
namespace {

// Both forms of each digest, the raw one with its zero bytes (64 × "a" starts with one); both
// empty the text they are given.
TEST(Sha1, StandardVectorsAndBlockBoundariesInBothForms) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
        {"abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
        {std::string(55, 'a'), "C1C8BBDC22796E28C0E15163D20899B65621D65A"},
        {std::string(56, 'a'), "C2DB330F6083854C99D4B5BFB6E8F29F201BE699"},
        {std::string(63, 'a'), "03F09F5B158A7A8CDAD920BDDC29B81C18A551F5"},
        {std::string(64, 'a'), "0098BA824B5C16427BD7A1122A5A442A25EC644D"},
        {std::string(65, 'a'), "11655326C708D70319BE2610E8A57D9A5B959D3B"},
        {std::string(119, 'a'), "EE971065AAA017E0632A8CA6C77BB3BF8B1DFC56"},
        {std::string(2049, 'a'), "E2C9EFD6D15DD93800100F4F0555F1F100E14963"},
        {"Gr\xF6\xDF\x65", "090E28426C49C1C77B1D306D949D42012C3425DE"},  // Windows-1252 "Größe"
        {std::string(1000000, 'a'), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F"},
    };
    clsSHA sha;
    for (const auto& [message, digest] : cases) {
        std::string forHex = message;
        std::string forRaw = message;
        EXPECT_EQ(sha.SHA1(forHex), digest) << message.size();
        const std::string raw = sha.SHA1_string(forRaw);
        EXPECT_EQ(std::vector<std::uint8_t>(raw.begin(), raw.end()), test::fromHex(digest))
            << message.size();
        EXPECT_TRUE(forHex.empty() && forRaw.empty()) << message.size();
    }
}

}  // namespace
}  // namespace marnoq
