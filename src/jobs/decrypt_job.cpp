#include "jobs/decrypt_job.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "digest/crc32.h"
#include "io/file_error.h"
#include "io/file_system.h"
#include "io/input_file.h"
#include "io/standard_streams.h"
#include "io/temporary_output.h"
#include "jobs/job_run.h"
#include "jobs/messages.h"
#include "jobs/output_target.h"
#include "jobs/password_input.h"
#include "jobs/path_functions.h"

namespace marnoq::jobs {
namespace {

FileOutcome checkedOutcome(JobRun& run, JobReport::File& record, std::uint32_t crc,
                           std::uint64_t length, const std::string& dst, bool keepOlder) {
    record.computedCrc = crcTextFor(crc, length);
    if (record.computedCrc == record.storedCrc) {
        return FileOutcome::Done;
    }
    std::string text = checksumMessage(Nurdatei(dst)) + run.checksumCause;
    if (keepOlder) {
        text += keptOlderFileLine(dst);
    }
    run.message(text);
    return FileOutcome::ChecksumMismatch;
}

// Verification, and decryption to standard output: nothing to name, nothing to take back.
FileOutcome decryptToStream(JobRun& run, io::InputFile& in, JobReport::File& record,
                            io::ByteSink& sink, const std::string& dst) {
    Crc32 crc;
    auto result = run.cipher().DecryptToSink(
        in, HeaderLength, [&]() -> io::ByteSink& { return sink; }, &crc);
    if (result.code != 0) {
        return FileOutcome::SizeError;
    }
    return checkedOutcome(run, record, crc.value(), result.plainLength, dst, false);
}

FileOutcome decryptOne(JobRun& run, io::InputFile& in, JobReport::File& record,
                       const io::FileLocation& where, const io::FileLocation& dst) {
    if (dst.path() == where.path() || io::sameFile(dst, where)) {
        throw JobFailure(sameFileMessage(dst.path()));
    }
    // An older file of the output name survives a result that fails its checksum.
    const bool olderExists = checkOutputTarget(dst);
    if (olderExists && !run.mayReplace(dst.path())) {
        record.output = dst.path();
        return FileOutcome::NotReplaced;
    }
    std::optional<io::TemporaryOutput> out;
    Crc32 crc;
    auto result = run.cipher().DecryptToSink(
        in, HeaderLength,
        // Plaintext is the owner's alone, whoever may read the encrypted file.
        [&]() -> io::ByteSink& {
            out.emplace(dst, 0600).replaceAppearedIf(run.askIfAppeared(dst.path()));
            return out->file();
        },
        &crc);
    if (result.code != 0) {
        return FileOutcome::SizeError;
    }
    const FileOutcome outcome =
        checkedOutcome(run, record, crc.value(), result.plainLength, dst.path(), olderExists);
    if (outcome == FileOutcome::ChecksumMismatch && olderExists) {
        out->discard();
    } else {
        out->commit([&] { run.leaveIfClosing(); }, run.view().deferredNames());
        record.output = dst.path();
    }
    return outcome;
}

FileOutcome decryptChecked(JobRun& run, io::InputFile& in, JobReport::File& record,
                           const io::FileLocation& where, const std::string& dst,
                           DecryptTarget target) {
    if (target == DecryptTarget::VerifyOnly) {
        io::DiscardingSink nowhere;
        return decryptToStream(run, in, record, nowhere, dst);
    }
    if (dst == io::kStandardStream) {
        io::StreamSink out(stdout, text::kStandardOutput);
        record.output = dst;
        try {
            const FileOutcome outcome = decryptToStream(run, in, record, out, dst);
            out.flush();
            return outcome;
        } catch (const io::FileError& error) {
            // A reader that stopped reading (head -c) wants no more: not a failure of ours.
            if (error.code() == EPIPE) {
                throw JobAborted{};
            }
            throw;
        }
    }
    // Beside the input unless -o named another place: through the input's folder, looked up once.
    return decryptOne(
        run, in, record, where,
        run.view().outputPath().empty() ? where.sibling(dst) : io::FileLocation::of(dst));
}

}  // namespace

JobReport cmdDec_Click(JobView& view, DecryptTarget target) {
    JobReport report;
    JobState& state = view.state();
    if (view.caption(StartButton::Decrypt) == kCancelCaption) {
        state.CancelDecrypt = true;
        return report;
    }
    if (state.busy) {
        return report;
    }
    if (view.entryCount(FileList::Decrypt) == 0) {
        refuseInput(view, report, text::kNoDecryptFiles);
        return report;
    }
    const SecretString typed(view.passwordText(2));
    if (typed.str().empty()) {
        refuseInput(view, report, text::kEnterDecryptPassword, Control::Password2);
        return report;
    }
    auto password = passwordFor(view, report, 2, typed.str());
    if (!password) {
        return report;
    }
    if (view.suffixOptionSelected() &&
        trimSpaces(view.suffixText()).find_first_of(kPathSeparators) != std::string::npos) {
        refuseInput(view, report, text::kSuffixSlash, Control::Suffix);
        return report;
    }
    const std::string hash = saltedPasswordHash(password->str());

    JobRun run(view, StartButton::Decrypt, FileList::Decrypt, 2);
    run.start(makeKeyBytes(password->str()));
    // The header's check leaves them out and the key keeps them, as stored files require.
    if (password->str().front() == ' ' || password->str().back() == ' ') {
        run.checksumCause = spacedPasswordLine();
    }
    run.guarded(report, [&] {
        for (int i = 0; i <= run.lastIndex(); ++i) {
            const std::string src = run.selectFile(i);
            const auto where = io::FileLocation::of(src);
            auto opened = io::InputFile::openIfRegular(where);
            if (!opened) {
                report.files.push_back({src, FileOutcome::Skipped});
            } else {
                const std::string named = view.outputPath();
                const std::string dst =
                    named.empty()
                        ? decryptedName(src, view.suffixOptionSelected(), view.suffixText())
                        : named;
                io::InputFile& in = *opened;
                const auto header = readHeader(in);
                if (!header || !header->signatureValid()) {
                    run.restoreRest(MousePointer::Arrow);
                    run.message(foreignFileMessage(Nurdatei(src)));
                    report.files.push_back({src, FileOutcome::Foreign});
                    return;
                }
                if (header->PasswordHash != hash) {
                    run.restoreRest(MousePointer::Default);
                    run.message(text::kWrongPassword);
                    report.files.push_back({src, FileOutcome::WrongPassword});
                    return;
                }
                JobReport::File record{src, FileOutcome::Done, header->CrcText};
                record.bodyLength = in.size() - std::min<std::uint64_t>(in.size(), HeaderLength);
                record.outcome = decryptChecked(run, in, record, where, dst, target);
                report.files.push_back(record);
                view.setStatusText(text::kDecryptDone);
            }
            if (run.cancelRequested()) {
                break;
            }
        }
        run.appendTime(" , DecryptTime: ");
    });
    return report;
}

}  // namespace marnoq::jobs
