#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cipher/cipher_events.h"

namespace marnoq {

namespace io {
class ByteSink;
class InputFile;
class StreamSource;
}  // namespace io
class Crc32;

// Rijndael with 128-bit blocks (AES) and 128-, 192- or 256-bit keys, with the array and file
// operations built on it. Output is bit for bit that of FIPS-197.
class cRijndael {
  public:
    explicit cRijndael(CipherEvents* events = nullptr);
    cRijndael(const cRijndael&) = delete;
    cRijndael& operator=(const cRijndael&) = delete;
    ~cRijndael();

    // Takes the first KeyBits / 8 bytes of pass. An illegal KeyBits keeps the previous key.
    std::int32_t SetCipherKey(std::span<const std::uint8_t> pass, std::int32_t KeyBits);
    // PassPhrase is already in the single-byte code page; it is cut or zero-filled to 32 bytes.
    std::int32_t SetCipherKeyString(std::string_view PassPhrase, std::int32_t KeyBits);

    // One block from plaintext[p..p+15] to ciphertext[q..q+15]; the arrays may be the same.
    void BlockEncrypt(std::span<const std::uint8_t> plaintext, std::span<std::uint8_t> ciphertext,
                      std::size_t p, std::size_t q) const;
    void BlockDecrypt(std::span<std::uint8_t> plaintext, std::span<const std::uint8_t> ciphertext,
                      std::size_t p, std::size_t q) const;

    // Whole blocks at once, through the fastest path this processor offers; in may equal out.
    void EncryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    void DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

    std::int32_t ArrayEncrypt(std::span<const std::uint8_t> plaintext,
                              std::vector<std::uint8_t>& ciphertext, std::int32_t appendsize);
    std::int32_t ArrayDecrypt(std::vector<std::uint8_t>& plaintext,
                              std::span<const std::uint8_t> ciphertext, std::int32_t appendsize);

    // hash is the header text in the single-byte code page, written before the body.
    std::int32_t FileEncrypt(const std::string& PlaintextFileName,
                             const std::string& CiphertextFileName, std::string_view hash);
    // Note the order: the first argument is the file to be written.
    std::int32_t FileDecrypt(const std::string& PlaintextFileName,
                             const std::string& CiphertextFileName, std::uint64_t lenHeader);

    // The file operations on open files, for callers that write through a temporary output
    // and want the checksum of the plain bytes from the same pass.
    // Returns the plain length it encrypted (taken once, at the start).
    std::uint64_t EncryptToSink(io::InputFile& plain, io::ByteSink& out, std::string_view header,
                                Crc32* plainCrc);
    // The same for plain data of unknown length (a pipe): read until it ends.
    std::uint64_t EncryptStream(io::StreamSource& plain, io::ByteSink& out, std::string_view header,
                                Crc32* plainCrc);
    struct DecryptResult {
        std::int32_t code;  // 1 after the size error, else 0
        std::uint64_t plainLength;
    };
    // openPlain is called only once the body length has proved valid.
    DecryptResult DecryptToSink(io::InputFile& cipher, std::uint64_t lenHeader,
                                const std::function<io::ByteSink&()>& openPlain, Crc32* plainCrc);

    std::int32_t Rounds() const { return Rounds_; }
    // Which implementation EncryptBlocks uses, for --version and tests.
    static const char* BlockPathName();

  private:
    void BuildDecryptionKey(int blockWords);
    void requireKey(const char* operation) const;
    void encryptBlock(const std::uint8_t* in, std::uint8_t* out) const;
    void decryptBlock(const std::uint8_t* in, std::uint8_t* out) const;
    void announceChunk(class ChunkProgress& progress);
    void finishProgress(const class ChunkProgress& progress);
    void showMessage(const std::string& text);

    using Table = std::array<std::uint32_t, 256>;
    Table FwdTable0{}, FwdTable1{}, FwdTable2{}, FwdTable3{}, FwdSBox{};
    Table InvTable0{}, InvTable1{}, InvTable2{}, InvTable3{}, InvSBox{};
    std::array<std::uint32_t, 10> RoundConst{};
    std::int32_t Rounds_ = 0;
    std::array<std::uint32_t, 60> FwdKey{};
    std::array<std::uint32_t, 60> InvKey{};
    CipherEvents* events_;
};

}  // namespace marnoq
