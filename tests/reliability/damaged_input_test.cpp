#include <gtest/gtest.h>

#include <random>
#include <span>

#include "io/file_system.h"
#include "jobs/job_fixture.h"

namespace marnoq {
namespace {

using jobs::FileOutcome;

class DamagedInputTest : public test::JobTest {
  protected:
    void SetUp() override {
        plain = test::randomBytes(5000, 77);
        pristine = test::readBytes(makeEncrypted("orig.bin", plain));
        view.passwords[2] = "geheim";
    }
    // Decrypts the given bytes as "probe.bin.aes" and returns the outcome of that file.
    FileOutcome outcomeOf(std::span<const std::uint8_t> bytes) {
        test::writeBytes(dir.file("probe.bin.aes"), {bytes.begin(), bytes.end()});
        ::unlink(dir.file("probe-dec.bin").c_str());
        view.list2 = {dir.file("probe.bin.aes")};
        view.boxes.clear();
        auto report = jobs::cmdDec_Click(view);
        EXPECT_FALSE(report.files.empty());
        return report.files.empty() ? FileOutcome::Failed : report.files.back().outcome;
    }
    std::vector<std::uint8_t> plain, pristine;
};

TEST_F(DamagedInputTest, EveryBitFlipInTheHeaderIsCaught) {
    for (std::size_t bit = 0; bit < 31 * 8; ++bit) {
        auto damaged = pristine;
        damaged[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        const std::size_t byte = bit / 8;
        const FileOutcome expected = byte < 3    ? FileOutcome::Foreign
                                     : byte < 11 ? FileOutcome::ChecksumMismatch
                                                 : FileOutcome::WrongPassword;
        EXPECT_EQ(outcomeOf(damaged), expected) << "bit " << bit;
        EXPECT_EQ(view.boxes.size(), 1u) << "bit " << bit;
    }
}

TEST_F(DamagedInputTest, TruncationAtEveryShortLengthAndAtRandomOnes) {
    auto small = test::readBytes(makeEncrypted("tiny.txt", {'1', '2', '3'}));
    ASSERT_EQ(small.size(), 47u);
    for (std::size_t length = 0; length < 47; ++length) {
        EXPECT_EQ(outcomeOf(std::span(small).first(length)),
                  length < 31 ? FileOutcome::Foreign : FileOutcome::SizeError)
            << length;
        EXPECT_EQ(view.boxes.size(), 1u) << length;
        EXPECT_FALSE(io::exists(dir.file("probe-dec.bin"))) << length;
    }
    std::mt19937 engine(3);
    for (int round = 0; round < 40; ++round) {
        const std::size_t length = 31 + engine() % (pristine.size() - 31);
        EXPECT_NE(outcomeOf(std::span(pristine).first(length)), FileOutcome::Done) << length;
    }
}

TEST_F(DamagedInputTest, ADamagedBodyBlockGarblesOnlyItsSixteenBytes) {
    auto damaged = pristine;
    const std::size_t block = 100;
    damaged[31 + 16 * block + 5] ^= 0x40;
    EXPECT_EQ(outcomeOf(damaged), FileOutcome::ChecksumMismatch);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_NE(view.boxes[0].text.find("checksum error"), std::string::npos);
    const auto result = test::readBytes(dir.file("probe-dec.bin"));
    ASSERT_EQ(result.size(), plain.size());
    auto expected = plain;
    std::copy_n(result.begin() + 16 * block, 16, expected.begin() + 16 * block);
    EXPECT_EQ(result, expected);
    EXPECT_NE(result, plain);
}

TEST_F(DamagedInputTest, AppendedJunk) {
    for (std::size_t junk : {1u, 15u, 16u, 32u, 1000u}) {
        auto longer = pristine;
        const auto extra = test::randomBytes(junk, static_cast<std::uint32_t>(junk));
        longer.insert(longer.end(), extra.begin(), extra.end());
        EXPECT_EQ(outcomeOf(longer),
                  junk % 16 == 0 ? FileOutcome::ChecksumMismatch : FileOutcome::SizeError)
            << junk;
    }
}

}  // namespace
}  // namespace marnoq
