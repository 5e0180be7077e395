#pragma once

#include <string>
#include <string_view>

namespace marnoq::jobs {

// Windows users type either slash; elsewhere only "/" separates folders.
#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif

// Path pieces; they look only at the separators and ".".
std::string Nurdatei(const std::string& D);          // name with extension
std::string NurName(const std::string& Dateiname);   // name without the last extension
std::string nur_Pfad(const std::string& Dateiname);  // folder with its trailing separator
std::string NurExt(const std::string& lzFile);       // "." and the text after the last "."

// The decrypted file's name for an encrypted path: the path without its last four characters
// (".aes"), with the trimmed suffix before the last extension in suffix mode. A file name
// without a dot of its own (none, or only a leading one) gets the suffix at its end.
std::string decryptedName(const std::string& encryptedPath, bool suffixMode,
                          const std::string& suffix);

// Case-insensitive test for the ".aes" extension.
bool hasAesExtension(const std::string& path);

}  // namespace marnoq::jobs
