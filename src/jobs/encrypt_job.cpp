#include "jobs/encrypt_job.h"

#include <cerrno>

#include "digest/crc32.h"
#include "io/file_error.h"
#include "io/file_system.h"
#include "io/input_file.h"
#include "io/temporary_output.h"
#include "jobs/job_run.h"
#include "jobs/messages.h"
#include "jobs/password_input.h"

namespace marnoq::jobs {
namespace {

void encryptOne(JobRun& run, io::InputFile& plain, const std::string& hash) {
    const std::string dst = plain.path() + ".aes";
    if (io::isDirectory(dst)) {
        io::throwFileError(io::FileOperation::Create, dst, EISDIR);
    }
    io::TemporaryOutput out(dst, plain.permissions() & 0777);
    Crc32 crc;
    // The checksum comes from the same pass as the body and is written into place afterwards.
    const std::uint64_t length =
        run.cipher().EncryptToSink(plain, out.file(), composeHeader("00000000", hash), &crc);
    const std::string crcText = crcTextFor(crc.value(), length);
    out.file().writeAt(3, std::span(reinterpret_cast<const std::uint8_t*>(crcText.data()),
                                    crcText.size()));
    out.commit();
}

}  // namespace

JobReport cmdEnc_Click(JobView& view) {
    JobReport report;
    JobState& state = view.state();
    if (view.caption(StartButton::Encrypt) == kCancelCaption) {
        state.CancelEncrypt = true;
        return report;
    }
    if (state.busy) {
        return report;  // a second start while a job runs is ignored, not queued
    }
    if (view.entryCount(FileList::Encrypt) == 0) {
        refuseInput(view, report, text::kNoEncryptFiles);
        return report;
    }
    const SecretString typed(view.passwordText(0));
    if (typed.str().empty()) {
        refuseInput(view, report, text::kEnterPassword, Control::Password0);
        return report;
    }
    if (typed.str() != SecretString(view.passwordText(1)).str()) {
        refuseInput(view, report, text::kPasswordsDiffer, Control::Password1);
        return report;
    }
    auto password = passwordFor(view, report, 0, typed.str());
    if (!password) {
        return report;
    }
    const std::string hash = saltedPasswordHash(password->str());

    JobRun run(view, StartButton::Encrypt, FileList::Encrypt, 1);
    run.start(makeKeyBytes(password->str()));
    run.guarded(report, [&] {
        for (int i = 0; i <= run.lastIndex(); ++i) {
            const std::string src = run.selectFile(i);
            if (auto plain = io::InputFile::openIfRegular(src)) {
                encryptOne(run, *plain, hash);
                report.files.push_back({src, FileOutcome::Done});
            } else {
                report.files.push_back({src, FileOutcome::Skipped});
            }
            if (run.cancelRequested()) {
                break;
            }
        }
        run.appendTime(" , EncryptTime: ");
    });
    return report;
}

}  // namespace marnoq::jobs
