#include "jobs/file_format.h"

#include <cstring>

#include "digest/clsSHA.h"
#include "digest/crc32.h"
#include "io/input_file.h"

namespace marnoq::jobs {

std::string PasswordSalt() {
    static constexpr char kCodes[] = {77,  97,  114, 110, 111, 113, 35,  65,  69,  83,
                                      50,  53,  54,  45,  83,  97,  108, 122, 58,  68,
                                      97,  116, 101, 105, 115, 99,  104, 117, 116, 122,
                                      33,  50,  48,  50,  54,  126, 113, 88};
    static_assert(sizeof kCodes == 38);
    std::string salt;
    for (char code : kCodes) {
        salt += code;
    }
    return salt;
}

KeyBytes makeKeyBytes(const std::string& password1252) {
    KeyBytes key;
    std::memcpy(key.bytes.data(), password1252.data(),
                std::min(password1252.size(), key.bytes.size()));
    return key;
}

std::string trimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string saltedPasswordHash(const std::string& password1252) {
    SecretString message(trimSpaces(password1252) + PasswordSalt());
    clsSHA sha;
    return sha.SHA1_string(message.str());
}

std::string composeHeader(const std::string& crcText, const std::string& hash) {
    return "aes" + crcText + hash;
}

std::string crcTextFor(std::uint32_t crc, std::uint64_t length) {
    return length <= 1 ? "00000000" : crcHex(crc);
}

std::optional<FileHeader> readHeader(io::InputFile& file) {
    std::array<std::uint8_t, HeaderLength> raw{};
    if (file.read(raw) != raw.size()) {
        return std::nullopt;
    }
    std::string text(raw.begin(), raw.end());
    return FileHeader{text.substr(0, 3), text.substr(3, 8), text.substr(11, 20)};
}

bool bodyLengthValid(std::uint64_t fileLength) {
    return fileLength > HeaderLength && (fileLength - HeaderLength) % 16 == 0;
}

}  // namespace marnoq::jobs
