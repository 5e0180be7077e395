#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "io/utf8_path.h"

namespace marnoq::test {

using io::utf8Path;
using io::utf8Text;

TempDir::TempDir() {
    const auto base = std::filesystem::temp_directory_path();
    std::random_device device;
    for (;;) {
        const auto candidate = base / ("marnoq-test-" + std::to_string(device()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = utf8Text(candidate);
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only folders behind; open them up so removal can succeed.
    for (auto it = std::filesystem::recursive_directory_iterator(utf8Path(path_), ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    std::filesystem::permissions(utf8Path(path_), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(utf8Path(path_), ignored);
}

std::vector<std::string> TempDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(utf8Path(path_))) {
        names.push_back(utf8Text(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(utf8Path(path), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string readText(const std::string& path) {
    const auto bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void makeFolder(const std::string& path) {
    std::filesystem::create_directory(utf8Path(path));
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(utf8Path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void setLength(const std::string& path, std::uint64_t length) {
    std::ofstream(utf8Path(path), std::ios::binary | std::ios::app);  // made if there is none
    std::filesystem::resize_file(utf8Path(path), length);
}

std::vector<std::uint8_t> randomBytes(std::size_t length, std::uint32_t seed) {
    std::mt19937 engine(seed);
    std::vector<std::uint8_t> bytes(length);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(engine()); });
    return bytes;
}

}  // namespace marnoq::test
