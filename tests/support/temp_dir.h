#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace marnoq::test {

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
  public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Names in the folder, sorted, dot-files included.
    std::vector<std::string> entries() const;

  private:
    std::string path_;
};

// Paths are UTF-8, also on Windows.
std::vector<std::uint8_t> readBytes(const std::string& path);
std::string readText(const std::string& path);
void makeFolder(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void writeText(const std::string& path, const std::string& text);
// Makes the file (an empty one if there is none) this long; what it grows by is a hole that
// takes no room on the disk.
void setLength(const std::string& path, std::uint64_t length);
// For EXPECT_PRED2, which shows the whole text when the part is missing from it.
inline bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}
// Deterministic pseudo-random bytes.
std::vector<std::uint8_t> randomBytes(std::size_t length, std::uint32_t seed = 1);

}  // namespace marnoq::test
