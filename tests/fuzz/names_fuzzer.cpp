// Path pieces and output names on arbitrary names and suffixes.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "jobs/file_format.h"
#include "jobs/path_functions.h"

using namespace marnoq::jobs;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto cut = input.find('\0');
    const std::string path = input.substr(0, cut);
    const std::string suffix = cut == std::string::npos ? "-dec" : input.substr(cut + 1);
    const std::string name = Nurdatei(path);
    const std::string folder = nur_Pfad(path);
    FUZZ_CHECK(folder + name == path);
    FUZZ_CHECK(name.find('/') == std::string::npos);
    FUZZ_CHECK(folder.empty() || folder.back() == '/');
    FUZZ_CHECK(!NurExt(path).empty() && NurExt(path)[0] == '.');
    NurName(path);
    // Encrypting appends ".aes"; decrypting under the original name takes it off again.
    const std::string encrypted = path + ".aes";
    FUZZ_CHECK(hasAesExtension(encrypted));
    FUZZ_CHECK(decryptedName(encrypted, false, suffix) == path);
    const std::string withSuffix = decryptedName(encrypted, true, suffix);
    FUZZ_CHECK(withSuffix.compare(0, folder.size(), folder) == 0);
    if (trimSpaces(suffix).find('/') == std::string::npos) {
        // The suffix lands in the file's name, never in another folder.
        FUZZ_CHECK(nur_Pfad(withSuffix) == folder);
    }
    if (!trimSpaces(suffix).empty()) {
        FUZZ_CHECK(withSuffix.size() == path.size() + trimSpaces(suffix).size());
    }
    decryptedName(path, true, suffix);  // names shorter than ".aes" included
    return 0;
}
