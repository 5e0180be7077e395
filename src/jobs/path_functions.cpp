#include "jobs/path_functions.h"

#include <algorithm>
#include <cctype>

#include "jobs/file_format.h"

namespace marnoq::jobs {

std::string Nurdatei(const std::string& D) {
    const auto slash = D.find_last_of(kPathSeparators);
    return slash == std::string::npos ? D : D.substr(slash + 1);
}

std::string NurName(const std::string& Dateiname) {
    const auto slash = Dateiname.find_last_of(kPathSeparators);
    const auto dot = Dateiname.rfind('.');
    const long s = slash == std::string::npos ? 0 : static_cast<long>(slash) + 1;  // 1-based
    const long d = dot == std::string::npos ? 0 : static_cast<long>(dot) + 1;
    const long count = d - s - 1;
    if (count < 0) {
        return Dateiname;
    }
    return Dateiname.substr(static_cast<std::size_t>(s), static_cast<std::size_t>(count));
}

std::string nur_Pfad(const std::string& Dateiname) {
    const auto slash = Dateiname.find_last_of(kPathSeparators);
    return slash == std::string::npos ? std::string() : Dateiname.substr(0, slash + 1);
}

std::string NurExt(const std::string& lzFile) {
    const auto dot = lzFile.rfind('.');
    return "." + (dot == std::string::npos ? lzFile : lzFile.substr(dot + 1));
}

std::string decryptedName(const std::string& encryptedPath, bool suffixMode,
                          const std::string& suffix) {
    std::string x = encryptedPath.substr(
        0, encryptedPath.size() - std::min<std::size_t>(4, encryptedPath.size()));
    if (!suffixMode) {
        return x;
    }
    const std::string trimmed = trimSpaces(suffix);
    const std::string name = Nurdatei(x);
    if (name.find('.', 1) == std::string::npos) {
        return x + trimmed;
    }
    return nur_Pfad(x) + NurName(x) + trimmed + NurExt(x);
}

bool hasAesExtension(const std::string& path) {
    std::string ext = NurExt(path);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".aes";
}

}  // namespace marnoq::jobs
