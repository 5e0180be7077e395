#include "jobs/encrypt_job.h"

#include <chrono>
#include <optional>
#include <thread>

#include "digest/crc32.h"
#include "io/input_file.h"
#include "io/standard_streams.h"
#include "io/temporary_output.h"
#include "jobs/job_run.h"
#include "jobs/messages.h"
#include "jobs/output_target.h"
#include "jobs/password_input.h"

namespace marnoq::jobs {
namespace {

// Up to this size an output is put together in memory and written once, checksum included:
// for many small files the system calls are what costs.
constexpr std::uint64_t kCollectUpTo = 64 * 1024;

// The Ctrl-C that ends a piped producer reaches this process at about the same time as the end
// of its data, and on a busy machine sometimes later: piped data is trusted as complete only
// after this pause without a stop.
constexpr auto kStopGrace = std::chrono::milliseconds(100);

template <typename Encrypt>
JobReport::File encryptInto(JobRun& run, const std::string& src, const io::FileLocation& dst,
                            mode_t mode, const std::string& hash, bool collect, Encrypt&& encrypt) {
    const bool piped = src == io::kStandardStream;
    if (checkOutputTarget(dst) && !run.mayReplace(dst.path())) {
        return {src, FileOutcome::NotReplaced, {}, {}, 0, dst.path()};
    }
    io::TemporaryOutput out(dst, mode);
    out.replaceAppearedIf(run.askIfAppeared(dst.path()));
    Crc32 crc;
    io::CollectingSink collected;
    io::ByteSink& sink = collect ? static_cast<io::ByteSink&>(collected) : out.file();
    const std::uint64_t length = encrypt(sink, composeHeader("00000000", hash), crc);
    // The checksum comes from the same pass as the body and is put into place afterwards.
    const std::string crcText = crcTextFor(crc.value(), length);
    if (collect) {
        collected.overwrite(3, crcText);
        out.file().write(collected.bytes());
    } else {
        out.file().writeAt(
            3, std::span(reinterpret_cast<const std::uint8_t*>(crcText.data()), crcText.size()));
    }
    // A stop that ended a piped producer looks like the end of its data: never commit that.
    out.commit(
        [&] {
            if (piped) {
                std::this_thread::sleep_for(kStopGrace);
            }
            run.leaveIfClosing();
        },
        run.view().deferredNames());
    return {src, FileOutcome::Done, {}, crcText, (length + 16) & ~std::uint64_t{15}, dst.path()};
}

JobReport::File encryptOne(JobRun& run, const std::string& src, std::optional<io::InputFile>& plain,
                           const io::FileLocation& dst, const std::string& hash) {
    if (src == io::kStandardStream) {
        io::StreamSource plain(stdin, text::kStandardInput);
        return encryptInto(run, src, dst, 0600, hash, false,
                           [&](io::ByteSink& out, const std::string& header, Crc32& crc) {
                               return run.cipher().EncryptStream(plain, out, header, &crc);
                           });
    }
    return encryptInto(run, src, dst, plain->permissions() & 0777, hash,
                       plain->size() <= kCollectUpTo,
                       [&](io::ByteSink& out, const std::string& header, Crc32& crc) {
                           return run.cipher().EncryptToSink(*plain, out, header, &crc);
                       });
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
            // The input and an output beside it go through one look-up of their folder.
            const auto where = io::FileLocation::of(src);
            auto plain =
                src == io::kStandardStream ? std::nullopt : io::InputFile::openIfRegular(where);
            if (src == io::kStandardStream || plain) {
                const std::string named = view.outputPath();
                report.files.push_back(encryptOne(
                    run, src, plain,
                    named.empty() ? where.sibling(src + ".aes") : io::FileLocation::of(named),
                    hash));
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
