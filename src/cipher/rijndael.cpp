#include "cipher/rijndael.h"

#include <cstring>
#include <stdexcept>

#include "cipher/block_path.h"
#include "cipher/cipher_error.h"
#include "secure/memory_lock.h"
#include "secure/wipe.h"

namespace marnoq {
namespace {

std::uint8_t xtime(std::uint8_t a) {
    return static_cast<std::uint8_t>((a << 1) ^ ((a & 0x80) != 0 ? 0x1B : 0x00));
}

std::uint8_t rotl8(std::uint8_t b, int n) {
    return static_cast<std::uint8_t>((b << n) | (b >> (8 - n)));
}

std::uint32_t rotl32(std::uint32_t w, int n) { return (w << n) | (w >> (32 - n)); }

std::uint32_t replicate(std::uint8_t b) { return 0x01010101u * b; }

std::uint32_t lanes(std::uint8_t l0, std::uint8_t l1, std::uint8_t l2, std::uint8_t l3) {
    return std::uint32_t{l0} | std::uint32_t{l1} << 8 | std::uint32_t{l2} << 16 |
           std::uint32_t{l3} << 24;
}

std::uint8_t byteOf(std::uint32_t w, int k) { return static_cast<std::uint8_t>(w >> (8 * k)); }

std::uint32_t loadWord(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

void storeWord(std::uint8_t* p, std::uint32_t w) {
    p[0] = byteOf(w, 0);
    p[1] = byteOf(w, 1);
    p[2] = byteOf(w, 2);
    p[3] = byteOf(w, 3);
}

void requireBlock(std::size_t size, std::size_t offset, const char* operation) {
    if (offset > size || size - offset < 16) {
        throw std::out_of_range(std::string("cRijndael.") + operation +
                                " - block outside the array");
    }
}

}  // namespace

cRijndael::cRijndael(CipherEvents* events) : events_(events) {
    lockInMemory(FwdKey.data(), sizeof FwdKey);
    lockInMemory(InvKey.data(), sizeof InvKey);
    std::array<std::uint8_t, 256> PowTable{};
    std::array<std::uint8_t, 256> LogTable{};
    PowTable[0] = 1;
    PowTable[1] = 3;
    for (int i = 2; i < 256; ++i) {
        PowTable[i] = PowTable[i - 1] ^ xtime(PowTable[i - 1]);
    }
    LogTable[3] = 1;
    for (int i = 2; i < 256; ++i) {
        LogTable[PowTable[i]] = static_cast<std::uint8_t>(i);
    }

    FwdSBox[0] = 0x63636363;
    InvSBox[0x63] = 0;
    for (int x = 1; x < 256; ++x) {
        std::uint8_t b = PowTable[255 - LogTable[x]];
        std::uint8_t s = b ^ rotl8(b, 1) ^ rotl8(b, 2) ^ rotl8(b, 3) ^ rotl8(b, 4) ^ 0x63;
        FwdSBox[x] = replicate(s);
        InvSBox[s] = replicate(static_cast<std::uint8_t>(x));
    }

    std::uint8_t rc = 1;
    for (auto& entry : RoundConst) {
        entry = rc;
        rc = xtime(rc);
    }

    auto multiply = [&](std::uint8_t t, std::uint8_t k) {
        return PowTable[(LogTable[t] + LogTable[k]) % 255];
    };
    for (int x = 0; x < 256; ++x) {
        std::uint8_t s = byteOf(FwdSBox[x], 0);
        FwdTable0[x] = lanes(xtime(s), s, s, s ^ xtime(s));
        FwdTable1[x] = rotl32(FwdTable0[x], 8);
        FwdTable2[x] = rotl32(FwdTable0[x], 16);
        FwdTable3[x] = rotl32(FwdTable0[x], 24);

        std::uint8_t t = byteOf(InvSBox[x], 0);
        InvTable0[x] = t == 0 ? 0
                              : lanes(multiply(t, 0x0E), multiply(t, 0x09), multiply(t, 0x0D),
                                      multiply(t, 0x0B));
        InvTable1[x] = rotl32(InvTable0[x], 8);
        InvTable2[x] = rotl32(InvTable0[x], 16);
        InvTable3[x] = rotl32(InvTable0[x], 24);
    }
}

cRijndael::~cRijndael() {
    secureWipe(std::span(FwdKey));
    secureWipe(std::span(InvKey));
}

std::int32_t cRijndael::SetCipherKey(std::span<const std::uint8_t> pass, std::int32_t KeyBits) {
    int nk = 0;
    int rounds = 0;
    switch (KeyBits) {
        case 128: nk = 4, rounds = 10; break;
        case 192: nk = 6, rounds = 12; break;
        case 256: nk = 8, rounds = 14; break;
        default: throw CipherError("cRijndael.SetCipherKey - Illegal KeyBits Value");
    }
    if (pass.size() < static_cast<std::size_t>(KeyBits / 8)) {
        throw CipherError("cRijndael.SetCipherKey - Key array too short");
    }

    Rounds_ = rounds;
    for (int i = 0; i < nk; ++i) {
        FwdKey[i] = loadWord(&pass[4 * i]);
    }
    const int total = 4 * (rounds + 1);
    for (int i = nk; i < total; ++i) {
        std::uint32_t t = FwdKey[i - 1];
        if (i % nk == 0) {
            t = ((FwdSBox[byteOf(t, 1)] & 0x000000FF) | (FwdSBox[byteOf(t, 2)] & 0x0000FF00) |
                 (FwdSBox[byteOf(t, 3)] & 0x00FF0000) | (FwdSBox[byteOf(t, 0)] & 0xFF000000)) ^
                RoundConst[i / nk - 1];
        } else if (nk == 8 && i % 8 == 4) {
            t = (FwdSBox[byteOf(t, 0)] & 0x000000FF) | (FwdSBox[byteOf(t, 1)] & 0x0000FF00) |
                (FwdSBox[byteOf(t, 2)] & 0x00FF0000) | (FwdSBox[byteOf(t, 3)] & 0xFF000000);
        }
        FwdKey[i] = FwdKey[i - nk] ^ t;
    }
    BuildDecryptionKey(4);
    return 0;
}

std::int32_t cRijndael::SetCipherKeyString(std::string_view PassPhrase, std::int32_t KeyBits) {
    std::array<std::uint8_t, 32> pass{};
    std::memcpy(pass.data(), PassPhrase.data(), std::min(PassPhrase.size(), pass.size()));
    struct Wipe {
        std::array<std::uint8_t, 32>& bytes;
        ~Wipe() { secureWipe(std::span(bytes)); }
    } wipe{pass};
    return SetCipherKey(pass, KeyBits);
}

void cRijndael::BuildDecryptionKey(int blockWords) {
    for (int j = 0; j <= Rounds_; ++j) {
        for (int k = 0; k < blockWords; ++k) {
            InvKey[blockWords * j + k] = FwdKey[blockWords * (Rounds_ - j) + k];
        }
    }
    for (int i = blockWords; i < blockWords * Rounds_; ++i) {
        std::uint32_t w = InvKey[i];
        InvKey[i] = InvTable0[byteOf(FwdSBox[byteOf(w, 0)], 0)] ^
                    InvTable1[byteOf(FwdSBox[byteOf(w, 1)], 0)] ^
                    InvTable2[byteOf(FwdSBox[byteOf(w, 2)], 0)] ^
                    InvTable3[byteOf(FwdSBox[byteOf(w, 3)], 0)];
    }
}

void cRijndael::requireKey(const char* operation) const {
    if (Rounds_ == 0) {
        throw CipherError(std::string("cRijndael.") + operation + " - no key set");
    }
}

void cRijndael::encryptBlock(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t s[4];
    for (int n = 0; n < 4; ++n) {
        s[n] = loadWord(in + 4 * n) ^ FwdKey[n];
    }
    for (int r = 1; r < Rounds_; ++r) {
        std::uint32_t t[4];
        for (int n = 0; n < 4; ++n) {
            t[n] = FwdTable0[byteOf(s[n], 0)] ^ FwdTable1[byteOf(s[(n + 1) % 4], 1)] ^
                   FwdTable2[byteOf(s[(n + 2) % 4], 2)] ^ FwdTable3[byteOf(s[(n + 3) % 4], 3)] ^
                   FwdKey[4 * r + n];
        }
        std::memcpy(s, t, sizeof s);
    }
    for (int n = 0; n < 4; ++n) {
        std::uint32_t w = (FwdSBox[byteOf(s[n], 0)] & 0x000000FF) ^
                          (FwdSBox[byteOf(s[(n + 1) % 4], 1)] & 0x0000FF00) ^
                          (FwdSBox[byteOf(s[(n + 2) % 4], 2)] & 0x00FF0000) ^
                          (FwdSBox[byteOf(s[(n + 3) % 4], 3)] & 0xFF000000) ^
                          FwdKey[4 * Rounds_ + n];
        storeWord(out + 4 * n, w);
    }
}

void cRijndael::decryptBlock(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t s[4];
    for (int n = 0; n < 4; ++n) {
        s[n] = loadWord(in + 4 * n) ^ InvKey[n];
    }
    for (int r = 1; r < Rounds_; ++r) {
        std::uint32_t t[4];
        for (int n = 0; n < 4; ++n) {
            t[n] = InvTable0[byteOf(s[n], 0)] ^ InvTable1[byteOf(s[(n + 3) % 4], 1)] ^
                   InvTable2[byteOf(s[(n + 2) % 4], 2)] ^ InvTable3[byteOf(s[(n + 1) % 4], 3)] ^
                   InvKey[4 * r + n];
        }
        std::memcpy(s, t, sizeof s);
    }
    for (int n = 0; n < 4; ++n) {
        std::uint32_t w = (InvSBox[byteOf(s[n], 0)] & 0x000000FF) ^
                          (InvSBox[byteOf(s[(n + 3) % 4], 1)] & 0x0000FF00) ^
                          (InvSBox[byteOf(s[(n + 2) % 4], 2)] & 0x00FF0000) ^
                          (InvSBox[byteOf(s[(n + 1) % 4], 3)] & 0xFF000000) ^
                          InvKey[4 * Rounds_ + n];
        storeWord(out + 4 * n, w);
    }
}

void cRijndael::BlockEncrypt(std::span<const std::uint8_t> plaintext,
                             std::span<std::uint8_t> ciphertext, std::size_t p,
                             std::size_t q) const {
    requireKey("BlockEncrypt");
    requireBlock(plaintext.size(), p, "BlockEncrypt");
    requireBlock(ciphertext.size(), q, "BlockEncrypt");
    encryptBlock(plaintext.data() + p, ciphertext.data() + q);
}

void cRijndael::BlockDecrypt(std::span<std::uint8_t> plaintext,
                             std::span<const std::uint8_t> ciphertext, std::size_t p,
                             std::size_t q) const {
    requireKey("BlockDecrypt");
    requireBlock(plaintext.size(), p, "BlockDecrypt");
    requireBlock(ciphertext.size(), q, "BlockDecrypt");
    decryptBlock(ciphertext.data() + q, plaintext.data() + p);
}

void cRijndael::EncryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                              std::size_t blocks) const {
    requireKey("EncryptBlocks");
    if (const BlockPath* path = hardwareBlockPath()) {
        path->encrypt(FwdKey.data(), Rounds_, in, out, blocks);
        return;
    }
    for (std::size_t i = 0; i < blocks; ++i) {
        encryptBlock(in + 16 * i, out + 16 * i);
    }
}

void cRijndael::DecryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                              std::size_t blocks) const {
    requireKey("DecryptBlocks");
    if (const BlockPath* path = hardwareBlockPath()) {
        path->decrypt(InvKey.data(), Rounds_, in, out, blocks);
        return;
    }
    for (std::size_t i = 0; i < blocks; ++i) {
        decryptBlock(in + 16 * i, out + 16 * i);
    }
}

const char* cRijndael::BlockPathName() {
    const BlockPath* path = hardwareBlockPath();
    return path != nullptr ? path->name : "portable";
}

}  // namespace marnoq
