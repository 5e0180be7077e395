// Header reading and the whole decrypt job on arbitrary file contents, for real on disk.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "support/fake_view.h"
#include "support/temp_dir.h"

namespace {

using marnoq::jobs::FileOutcome;
using marnoq::test::FakeView;

constexpr const char* kPassword = "geheim";  // the seed corpus is encrypted with it

const marnoq::test::TempDir& folder() {
    static const marnoq::test::TempDir dir;
    return dir;
}

struct Decrypted {
    FileOutcome outcome;
    bool warned;  // a box although the checksum matched: the length field was out of range
};

Decrypted decrypt(const std::string& path, marnoq::jobs::DecryptTarget target) {
    FakeView view;
    view.list2 = {path};
    view.setPassword(kPassword);
    const auto report = marnoq::jobs::cmdDec_Click(view, target);
    FUZZ_CHECK(report.started && report.files.size() == 1);
    const FileOutcome outcome = report.files[0].outcome;
    // Every outcome but success is told to the user.
    FUZZ_CHECK(outcome == FileOutcome::Done || !view.boxes.empty());
    const bool warned = outcome == FileOutcome::Done && !view.boxes.empty();
    if (warned) {
        FUZZ_CHECK(view.boxes.size() == 1);
        FUZZ_CHECK(view.boxes[0].text.find("incorrect length field") != std::string::npos);
    }
    return {outcome, warned};
}

// Encrypting the decrypted bytes again gives the same file up to the last block, whose
// padding bytes the format never checks.
void checkReencryption(const std::vector<std::uint8_t>& original, const std::string& plain) {
    FakeView view;
    view.list1 = {plain};
    view.setPassword(kPassword);
    FUZZ_CHECK(marnoq::jobs::cmdEnc_Click(view).allDone());
    const auto again = marnoq::test::readBytes(plain + ".aes");
    FUZZ_CHECK(again.size() == original.size());
    FUZZ_CHECK(std::equal(original.begin(), original.end() - 16, again.begin()));
    std::filesystem::remove(plain + ".aes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string encrypted = folder().file("probe.aes");
    const std::string plain = folder().file("probe-dec");
    const std::vector<std::uint8_t> bytes(data, data + size);
    marnoq::test::writeBytes(encrypted, bytes);
    const Decrypted verified = decrypt(encrypted, marnoq::jobs::DecryptTarget::VerifyOnly);
    FUZZ_CHECK(folder().entries() == std::vector<std::string>{"probe.aes"});
    const Decrypted written = decrypt(encrypted, marnoq::jobs::DecryptTarget::WriteFiles);
    FUZZ_CHECK(written.outcome == verified.outcome && written.warned == verified.warned);
    const bool output =
        written.outcome == FileOutcome::Done || written.outcome == FileOutcome::ChecksumMismatch;
    // No temporary file survives, and an output exists exactly when the body was decrypted.
    const std::vector<std::string> expected =
        output ? std::vector<std::string>{"probe-dec", "probe.aes"}
               : std::vector<std::string>{"probe.aes"};
    FUZZ_CHECK(folder().entries() == expected);
    if (written.outcome == FileOutcome::Done && !written.warned) {
        checkReencryption(bytes, plain);
    }
    std::filesystem::remove(plain);
    std::filesystem::remove(encrypted);
    return 0;
}
