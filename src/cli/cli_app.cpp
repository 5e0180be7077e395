#include "cli/cli_app.h"

#include <algorithm>
#include <filesystem>

#include "cipher/rijndael.h"
#include "cli/cli_options.h"
#include "cli/cli_view.h"
#include "cli/password_source.h"
#include "digest/crc32_path.h"
#include "io/file_error.h"
#include "io/file_system.h"
#include "io/input_file.h"
#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "jobs/file_format.h"
#include "jobs/messages.h"
#include "jobs/path_functions.h"
#include "jobs/windows1252.h"
#include "secure/wipe.h"
#include "version.h"

namespace marnoq::cli {
namespace {

constexpr int kOk = 0;
constexpr int kFileFailed = 1;
constexpr int kUsage = 2;

std::string absolutePath(const std::string& path) {
    return std::filesystem::absolute(std::filesystem::path(path)).lexically_normal().string();
}

// Absolute paths, each once, in the order given.
std::vector<std::string> uniqueAbsolute(const std::vector<std::string>& files, std::FILE* err) {
    std::vector<std::string> result;
    for (const auto& file : files) {
        std::string path = absolutePath(file);
        if (std::find(result.begin(), result.end(), path) != result.end()) {
            std::fprintf(err, "Hinweis: %s ist mehrfach angegeben und wird einmal bearbeitet.\n",
                         path.c_str());
            continue;
        }
        result.push_back(path);
    }
    return result;
}

int info(const std::vector<std::string>& files, std::FILE* out, std::FILE* err) {
    int status = kOk;
    for (const auto& file : files) {
        try {
            io::InputFile in(file);
            const std::uint64_t size = in.size();
            const auto header = jobs::readHeader(in);
            std::fprintf(out, "%s\n", file.c_str());
            if (!header || !header->signatureValid()) {
                std::fprintf(out, "  Signatur:      fehlt (keine Datei dieses Programms)\n");
                status = kFileFailed;
                continue;
            }
            const bool lengthValid = jobs::bodyLengthValid(size);
            std::fprintf(out, "  Signatur:      aes (gültig)\n");
            std::fprintf(out, "  CRC-32:        %s\n", header->CrcText.c_str());
            std::fprintf(out, "  Inhaltslänge:  %llu Bytes (%s)\n",
                         static_cast<unsigned long long>(size - jobs::HeaderLength),
                         lengthValid ? "gültig" : "ungültig: kein positives Vielfaches von 16");
            if (!lengthValid) {
                status = kFileFailed;
            }
        } catch (const io::FileError& error) {
            std::fprintf(err, "%s\n", jobs::fileErrorMessage(error).c_str());
            status = kFileFailed;
        }
    }
    return status;
}

void reportSkipped(const jobs::JobReport& report, std::FILE* err) {
    for (const auto& file : report.files) {
        if (file.outcome == jobs::FileOutcome::Skipped) {
            std::fprintf(err, "Übersprungen (keine vorhandene reguläre Datei): %s\n",
                         file.path.c_str());
        }
    }
}

int runJob(const Options& options, const Streams& streams,
           const volatile std::sig_atomic_t* stopSignal) {
    const bool encrypt = options.command == Command::Encrypt;
    std::vector<std::string> files = uniqueAbsolute(options.files, streams.err);
    if (!encrypt) {
        for (const auto& file : files) {
            if (!jobs::hasAesExtension(file)) {
                std::fprintf(streams.err,
                             "Nur Dateien mit der Erweiterung .aes können entschlüsselt oder "
                             "geprüft werden: %s\n",
                             file.c_str());
                return kUsage;
            }
        }
    }
    PasswordOutcome password = obtainPasswords(options, encrypt, streams.in);
    for (const auto& warning : password.warnings) {
        std::fprintf(streams.err, "%s\n", warning.c_str());
    }
    if (!password.passwords) {
        std::fprintf(streams.err, "%s\n", password.error.c_str());
        return kUsage;
    }
    // The window's boxes take 32 characters; longer passwords would make files it cannot open.
    const auto converted = jobs::toWindows1252(password.passwords->first.str());
    if (converted && SecretString(*converted).str().size() > jobs::kMaxPasswordLength) {
        std::fprintf(streams.err, "Das Passwort darf höchstens %zu Zeichen lang sein.\n",
                     jobs::kMaxPasswordLength);
        return kUsage;
    }

    CliView view(streams.err, streams.errIsTerminal, stopSignal);
    view.setFiles(encrypt ? jobs::FileList::Encrypt : jobs::FileList::Decrypt, files);
    view.setPasswords(password.passwords->first.str(), password.passwords->repeat.str());
    view.setNaming(!options.originalName, options.suffix);
    const jobs::JobReport report =
        encrypt ? jobs::cmdEnc_Click(view)
                : jobs::cmdDec_Click(view, options.command == Command::Verify
                                               ? jobs::DecryptTarget::VerifyOnly
                                               : jobs::DecryptTarget::WriteFiles);
    view.finishStatus();
    reportSkipped(report, streams.err);
    if (report.aborted && stopSignal != nullptr && *stopSignal != 0) {
        std::fprintf(streams.err, "Abgebrochen; die unfertige Ausgabe wurde entfernt.\n");
        return 128 + *stopSignal;
    }
    if (report.inputError) {
        return kUsage;
    }
    return report.allDone() ? kOk : kFileFailed;
}

}  // namespace

int runCli(const std::vector<std::string>& arguments, const Streams& streams,
           const volatile std::sig_atomic_t* stopSignal) {
    ParseResult parsed = parseArguments(arguments);
    if (!parsed.options) {
        std::fprintf(streams.err, "aes-marnoq-cli: %s\n\n%s", parsed.error.c_str(), usageText());
        return kUsage;
    }
    const Options& options = *parsed.options;
    switch (options.command) {
        case Command::Help: std::fputs(usageText(), streams.out); return kOk;
        case Command::Version:
            std::fprintf(streams.out, "aes-marnoq-cli %s (%s)\nAES: %s, CRC-32: %s\n", kVersion,
                         kCommit, cRijndael::BlockPathName(), crcPathName());
            return kOk;
        case Command::Info: return info(uniqueAbsolute(options.files, streams.err), streams.out, streams.err);
        default: return runJob(options, streams, stopSignal);
    }
}

}  // namespace marnoq::cli
