#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

#include "cipher/rijndael.h"
#include "jobs/file_format.h"
#include "jobs/job_fixture.h"
#include "secure/process_protection.h"
#include "secure/wipe.h"
#include "support/hex.h"

namespace marnoq {
namespace {

// What a job with the password below must not leave behind, 16 bytes each: two pieces of the
// password, then round keys 2 to 14 of its AES-256 schedule (keys 0 and 1 are the password
// itself). Kept as hex text, so the test's own data holds no copy of the bytes.
constexpr const char* kNeedles =
    "444b5259464d5441484f56434a515845484f56434a5158454c535a474e554249"
    "2628313a6065657b282a3338627b6b7de67225b8a82767f1a82767f1a82767f1"
    "e8ad90f888c8f583a0e2c6bbc299adc6c39cb00c6bbbd7fdc39cb00c6bbbd7fd"
    "06a3c4878e6b31042e89f7bfec105a790d560eba66edd947a571694bcecabeb6"
    "7a0d8a0cf466bb08daef4cb736ff16ce084049316ead9076cbdcf93d0516478b"
    "2dadb767d9cb0c6f032440d835db56169ef9f876f05468003b88913d3e9ed6b6"
    "065bf9d5df90f5badcb4b562e96fe3748051e9e4700581e44b8d10d97513c66f"
    "3bef5148e47fa4f238cb1190d1a4f2e4";

constexpr std::uintptr_t kLargestRegion = std::uintptr_t{1} << 30;

struct Range {
    std::uintptr_t start, end;
    bool holds(std::uintptr_t address) const { return address >= start && address < end; }
};

Range rangeOf(const void* data, std::size_t size) {
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    return {start, start + size};
}

// Every place in the process's writable memory where one of the 16-byte needles occurs, outside
// the needles themselves and the scan's own buffer.
std::vector<std::uintptr_t> findInWritableMemory(std::span<const std::uint8_t> needles) {
    const Range own = rangeOf(needles.data(), needles.size());
    std::vector<Range> writable;
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        std::istringstream fields(line);
        std::string range, permissions;
        fields >> range >> permissions;
        if (permissions[1] == 'w') {
            writable.push_back({std::stoull(range.substr(0, range.find('-')), nullptr, 16),
                                std::stoull(range.substr(range.find('-') + 1), nullptr, 16)});
        }
    }
    const int mem = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    std::vector<std::uintptr_t> found;
    std::vector<std::uint8_t> copy;
    for (const Range& region : writable) {
        if (region.end - region.start > kLargestRegion) {
            continue;  // reserved, not used: nothing of ours is that large
        }
        copy.assign(region.end - region.start, 0);
        const Range scratch = rangeOf(copy.data(), copy.size());
        if (::pread(mem, copy.data(), copy.size(), static_cast<off_t>(region.start)) !=
            static_cast<ssize_t>(copy.size())) {
            continue;
        }
        for (std::size_t n = 0; n + 16 <= needles.size(); n += 16) {
            const auto needle = needles.subspan(n, 16);
            for (auto at = copy.begin();
                 (at = std::search(at, copy.end(), needle.begin(), needle.end())) != copy.end();
                 ++at) {
                const auto address = region.start + static_cast<std::uintptr_t>(at - copy.begin());
                if (!own.holds(address) && !scratch.holds(address)) {
                    found.push_back(address);
                }
            }
        }
        secureWipe(copy.data(), copy.size());
    }
    ::close(mem);
    return found;
}

// Made at run time, so no copy sits in the test's own data.
std::string needlePassword() {
    std::string password(24, ' ');
    for (std::size_t i = 0; i < password.size(); ++i) {
        password[i] = static_cast<char>('A' + (i * 7 + 3) % 26);
    }
    return password;
}

std::size_t needlesIn(std::span<const std::uint8_t> memory) {
    auto needles = test::fromHex(kNeedles);
    std::size_t found = 0;
    for (std::size_t n = 0; n < needles.size(); n += 16) {
        found += std::search(memory.begin(), memory.end(), needles.begin() + n,
                             needles.begin() + n + 16) != memory.end();
    }
    secureWipe(std::span(needles));
    return found;
}

// The jobs wipe their stacks as well; this is the layer below, for a cipher left anywhere.
TEST(SecretsInMemory, ACipherWipesItsRoundKeysWhenItGoes) {
    alignas(cRijndael) std::array<std::uint8_t, sizeof(cRijndael)> place{};
    auto* cipher = new (place.data()) cRijndael(nullptr);
    std::string password = needlePassword();
    cipher->SetCipherKey(jobs::makeKeyBytes(password).bytes, 256);
    secureWipe(password);
    const std::size_t whileKeyed = needlesIn(place);
    cipher->~cRijndael();
    EXPECT_GT(whileKeyed, 10u);
    EXPECT_EQ(needlesIn(place), 0u);
}

TEST(SecretsInMemory, NoPasswordOrKeyScheduleIsLeftAfterAJob) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer keeps freed memory and terabytes of shadow to scan";
#endif
    test::TempDir dir;
    test::writeBytes(dir.file("plain.bin"), test::randomBytes(300000));
    std::string password = needlePassword();
    {
        test::FakeView view;
        ASSERT_TRUE(
            test::runJob(view, test::Job::Encrypt, {dir.file("plain.bin")}, password).allDone());
        ASSERT_TRUE(test::runJob(view, test::Job::Decrypt, {dir.file("plain.bin.aes")}, password)
                        .allDone());
        for (auto& text : view.passwords) {
            secureWipe(text);  // the window clears its boxes
        }
    }
    auto needles = test::fromHex(kNeedles);
    secureWipe(password);
    clearVectorRegisters();  // what making the needles left behind
    wipeStackBelow();
    const auto found = findInWritableMemory(needles);
    secureWipe(std::span(needles));
    EXPECT_TRUE(found.empty()) << found.size() << " copies, the first at " << std::hex
                               << (found.empty() ? 0 : found[0]);
}

TEST(SecretsInMemory, TheProcessIsNotDumpable) {
    protectProcess();
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(::prctl(PR_GET_DUMPABLE), 0);
#endif
    rlimit core{};
    ::getrlimit(RLIMIT_CORE, &core);
    EXPECT_EQ(core.rlim_cur, 0u);
    EXPECT_EQ(core.rlim_max, 0u);
}

}  // namespace
}  // namespace marnoq
