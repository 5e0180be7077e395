#include <algorithm>
#include <cstring>

#include "cipher/rijndael.h"

namespace marnoq {

std::int32_t cRijndael::ArrayEncrypt(std::span<const std::uint8_t> plaintext,
                                     std::vector<std::uint8_t>& ciphertext,
                                     std::int32_t appendsize) {
    requireKey("ArrayEncrypt");
    const std::size_t n = plaintext.size();
    const std::size_t total = appendsize != 0 ? (n + 16) & ~std::size_t{15} : (n + 15) & ~std::size_t{15};
    ciphertext.assign(total, 0);
    if (appendsize != 0) {
        ciphertext[total - 1] = static_cast<std::uint8_t>(n % 16);
    }
    const std::size_t whole = n / 16;
    EncryptBlocks(plaintext.data(), ciphertext.data(), whole);
    const std::size_t i = 16 * whole;
    std::copy(plaintext.begin() + static_cast<std::ptrdiff_t>(i), plaintext.end(),
              ciphertext.begin() + static_cast<std::ptrdiff_t>(i));
    if (i != total) {
        EncryptBlocks(ciphertext.data() + i, ciphertext.data() + i, 1);
    }
    return 0;
}

std::int32_t cRijndael::ArrayDecrypt(std::vector<std::uint8_t>& plaintext,
                                     std::span<const std::uint8_t> ciphertext,
                                     std::int32_t appendsize) {
    requireKey("ArrayDecrypt");
    const std::size_t m = ciphertext.size();
    if (m % 16 != 0) {
        showMessage("ciphertext Size Error");
        return -1;
    }
    plaintext.assign(m, 0);
    DecryptBlocks(ciphertext.data(), plaintext.data(), m / 16);
    if (appendsize == 0 || m == 0) {
        return 0;
    }
    const std::uint8_t v = plaintext[m - 1];
    if (v >= 16) {
        showMessage("warning - incorrect length field");
        return 1;
    }
    // A restored length of 0 keeps the 16 zero bytes, as the operation always did.
    if (const std::size_t length = m - 16 + v; length > 0) {
        plaintext.resize(length);
    }
    return 0;
}

}  // namespace marnoq
