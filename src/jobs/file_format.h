#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "secure/wipe.h"

namespace marnoq::io {
class InputFile;
}

namespace marnoq::jobs {

inline constexpr std::size_t HeaderLength = 31;
inline constexpr std::size_t kMaxPasswordLength = 32;

// The 38 characters every build must share: files written with another salt fail the
// password test.
std::string PasswordSalt();

// The cipher key: the untrimmed password's Windows-1252 bytes, cut or zero-filled to 32.
struct KeyBytes {
    std::array<std::uint8_t, 32> bytes{};
    ~KeyBytes() { secureWipe(std::span(bytes)); }
};
KeyBytes makeKeyBytes(const std::string& password1252);

// Spaces (U+0020 only) removed at both ends.
std::string trimSpaces(const std::string& text);

// SHA-1 of the trimmed password followed by the salt: 20 raw bytes. Note the asymmetry with
// the key, which stored files depend on.
std::string saltedPasswordHash(const std::string& password1252);

// "aes", the 8 hex digits of the plain file's CRC-32, the 20 hash bytes.
std::string composeHeader(const std::string& crcText, const std::string& hash);

// The CRC text of a plain file. A file of one byte carries "00000000" like an empty one: the
// checksum routine never read a lone byte, and stored files rely on it.
std::string crcTextFor(std::uint32_t crc, std::uint64_t length);

struct FileHeader {
    std::string Signature;     // 3 bytes
    std::string CrcText;       // 8 bytes
    std::string PasswordHash;  // 20 bytes
    bool signatureValid() const { return Signature == "aes"; }
};

// The first 31 bytes; nullopt for a file too short to hold them.
std::optional<FileHeader> readHeader(io::InputFile& file);

// The body after the header must be a positive multiple of 16 bytes.
bool bodyLengthValid(std::uint64_t fileLength);

}  // namespace marnoq::jobs
