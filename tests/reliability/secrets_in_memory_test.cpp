#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <sstream>

#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "secure/process_protection.h"
#include "secure/wipe.h"
#include "support/fake_view.h"
#include "support/temp_dir.h"

namespace marnoq {
namespace {

std::uint8_t times(std::uint8_t a, std::uint8_t b) {
    std::uint8_t product = 0;
    for (; b != 0; b >>= 1) {
        if (b & 1) {
            product ^= a;
        }
        a = static_cast<std::uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1b : 0));
    }
    return product;
}

// The S-box from its definition (inverse in GF(2^8), then the affine map), so the test needs
// nothing of the code under test to know what a key schedule looks like.
std::uint8_t sbox(std::uint8_t x) {
    std::uint8_t inverse = 1;
    for (int i = 0; i < 254; ++i) {
        inverse = times(inverse, x);
    }
    std::uint8_t s = 0x63;
    for (int shift = 0; shift < 5; ++shift) {
        s ^= static_cast<std::uint8_t>((inverse << shift) | (inverse >> ((8 - shift) & 7)));
    }
    return s;
}

// The 240 bytes of an AES-256 key schedule.
void expandKey(const std::uint8_t* key, std::uint8_t* schedule) {
    std::memcpy(schedule, key, 32);
    std::uint8_t roundConstant = 1;
    for (int i = 8; i < 60; ++i) {
        std::uint8_t t[4];
        std::memcpy(t, schedule + 4 * (i - 1), 4);
        if (i % 8 == 0) {
            std::rotate(t, t + 1, t + 4);
        }
        if (i % 4 == 0) {
            std::transform(t, t + 4, t, sbox);
        }
        if (i % 8 == 0) {
            t[0] ^= roundConstant;
            roundConstant = times(roundConstant, 2);
        }
        for (int k = 0; k < 4; ++k) {
            schedule[4 * i + k] = schedule[4 * (i - 8) + k] ^ t[k];
        }
    }
}

// The needles, 16 bytes each: two pieces of the password, then round keys 2 to 14 (keys 0 and
// 1 are the password itself), as the cipher keeps them.
__attribute__((noinline)) void makeNeedles(const std::string& password,
                                           std::array<std::uint8_t, 16 * (2 + 13)>& needles) {
    std::array<std::uint8_t, 240> schedule{};
    std::memcpy(schedule.data(), password.data(), password.size());
    expandKey(schedule.data(), schedule.data());
    std::memcpy(needles.data(), schedule.data(), 16);
    std::memcpy(needles.data() + 16, schedule.data() + 8, 16);
    std::memcpy(needles.data() + 32, schedule.data() + 32, 13 * 16);
    secureWipe(std::span(schedule));
}

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
// `own` (where the test keeps them) and the scan's own buffer.
std::vector<std::uintptr_t> findInWritableMemory(std::span<const std::uint8_t> needles, Range own) {
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

TEST(SecretsInMemory, NoPasswordOrKeyScheduleIsLeftAfterAJob) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer keeps freed memory and terabytes of shadow to scan";
#endif
    test::TempDir dir;
    test::writeBytes(dir.file("plain.bin"), test::randomBytes(300000));
    // Made at run time, so no copy sits in the test's own data.
    std::string password(24, ' ');
    for (std::size_t i = 0; i < password.size(); ++i) {
        password[i] = static_cast<char>('A' + (i * 7 + 3) % 26);
    }
    {
        test::FakeView view;
        view.list1 = {dir.file("plain.bin")};
        view.list2 = {dir.file("plain.bin.aes")};
        view.setPassword(password);
        ASSERT_TRUE(jobs::cmdEnc_Click(view).allDone());
        ASSERT_TRUE(jobs::cmdDec_Click(view).allDone());
        for (auto& text : view.passwords) {
            secureWipe(text);  // the window clears its boxes
        }
    }
    std::array<std::uint8_t, 16 * (2 + 13)> needles{};
    makeNeedles(password, needles);
    secureWipe(password);
    clearVectorRegisters();  // what making the needles left behind
    wipeStackBelow();
    const auto found = findInWritableMemory(needles, rangeOf(needles.data(), needles.size()));
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
