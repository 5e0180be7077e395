#include "cli/cli_app.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <thread>
#include <unordered_set>

#include "cipher/rijndael.h"
#include "cli/cli_options.h"
#include "cli/cli_view.h"
#include "cli/console.h"
#include "cli/json_record.h"
#include "cli/password_source.h"
#include "cli/terminal_text.h"
#include "digest/crc32_path.h"
#include "io/absolute_path.h"
#include "io/file_error.h"
#include "io/file_system.h"
#include "io/folder_walk.h"
#include "io/input_file.h"
#include "io/standard_streams.h"
#include "io/utf8_path.h"
#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "jobs/file_format.h"
#include "jobs/messages.h"
#include "jobs/parallel_file_runner.h"
#include "jobs/path_functions.h"
#include "jobs/windows1252.h"
#include "secure/wipe.h"
#include "version.h"
#include "window_model/message_text.h"
#ifdef _WIN32
#include "io/windows_text.h"
#endif

namespace marnoq::cli {
namespace {

constexpr int kOk = 0;
constexpr int kFileFailed = 1;
constexpr int kUsage = 2;
constexpr int kPipeClosed = 13;  // SIGPIPE

// Everything the program prints that may hold a name or a header field goes through here.
void printLine(std::FILE* stream, const std::string& text) {
    std::fprintf(stream, "%s\n", terminalText(text).c_str());
}

// Standard output of one call. A report that does not reach its reader whole fails the call,
// and so does a stop that came while it was written.
class Report {
  public:
    Report(std::FILE* out, const StopFlag* stopSignal) : out_(out), stopSignal_(stopSignal) {}

    void put(std::string_view text) {
        if (error_ == 0) {
            error_ = writeWhole(out_, text, stopSignal_);
        }
    }
    // The call's status once the report is out.
    int status(int status, std::FILE* err) const {
        const int stop = stopSignal_ != nullptr ? stopSignal_->load() : 0;
        if (error_ == ETIMEDOUT && stop != 0) {
            printLine(err,
                      "Abgebrochen; die Standardausgabe nahm den Bericht nicht mehr an, er ist "
                      "unvollständig.");
            return 128 + stop;
        }
        if (error_ == 0) {
            return status;  // all done and reported whole: a late stop changes nothing
        }
        printLine(err,
                  "Der Bericht konnte nicht vollständig auf die Standardausgabe geschrieben "
                  "werden: " +
                      jobs::reasonText(error_));
        if (error_ == EPIPE) {
            return 128 + kPipeClosed;
        }
        return status == kOk ? kFileFailed : status;
    }

  private:
    std::FILE* out_;
    const StopFlag* stopSignal_;
    int error_ = 0;
};

// A link named with -o is followed, so that the file it points to gets the new contents and the
// link stays; a dangling one stays as it is and is refused.
std::string linkTarget(const std::string& path) {
    std::error_code error;
    const std::filesystem::path given = io::utf8Path(path);
    if (!std::filesystem::is_symlink(given, error)) {
        return path;
    }
    const std::filesystem::path target = std::filesystem::canonical(given, error);
    return error ? path : io::utf8Text(target);
}

// One hint line for each of the paths, unless the call is to be quiet.
void noteEach(std::FILE* err, const Options& options, const std::vector<std::string>& paths,
              const char* why) {
    for (const auto& path : paths) {
        if (!options.quiet) {
            printLine(err, "Hinweis: " + path + why);
        }
    }
}

// The files of the command line: folders walked with -r, absolute paths, each once.
struct Inputs {
    std::vector<std::string> files;
    // A folder could not be read or a pattern matched nothing: the call cannot end with 0.
    bool incomplete = false;
};

Inputs collectInputs(const Options& options, std::FILE* err) {
    Inputs inputs;
    const bool takesPlain = options.command == Command::Encrypt;
    std::size_t leftOut = 0;
    std::unordered_set<std::string> seen;
    io::AbsolutePaths absolutePath;
    auto add = [&](const std::string& path) {
        if (!seen.insert(path).second) {
            if (!options.quiet) {
                printLine(err, "Hinweis: " + path +
                                   " ist mehrfach angegeben und wird einmal bearbeitet.");
            }
            return;
        }
        inputs.files.push_back(path);
    };
    for (const auto& file : options.files) {
        if (file == io::kStandardStream) {
            inputs.files.push_back(file);
            continue;
        }
#ifdef _WIN32
        // Patterns that match were expanded; these characters are in no Windows file name.
        if (io::isNamePattern(file)) {
            printLine(err, "Keine Datei passt zu dem Muster " + file + ".");
            inputs.incomplete = true;
            continue;
        }
#endif
        const std::string path = absolutePath(file);
        if (!io::isDirectory(path)) {
            add(path);
            continue;
        }
        if (!options.recursive) {
            if (!options.quiet) {
                printLine(
                    err, "Hinweis: " + path + " ist ein Ordner; mit -r werden Ordner durchlaufen.");
            }
            add(path);
            continue;
        }
        const io::FolderWalk walk = io::walkFolder(path);
        for (const auto& found : walk.files) {
            if (jobs::hasAesExtension(found) != takesPlain) {
                add(found);
            } else {
                ++leftOut;
            }
        }
        noteEach(err, options, walk.links,
                 " ist ein symbolischer Link und wird ausgelassen: in durchlaufenen Ordnern wird "
                 "Links nicht gefolgt.");
        noteEach(err, options, walk.others,
                 " ist keine reguläre Datei (Pipe, Gerät oder Socket) und wird ausgelassen.");
        for (const auto& folder : walk.unreadable) {
            printLine(err, "Der Ordner " + folder.folder +
                               " kann nicht gelesen werden: " + jobs::reasonText(folder.code));
            inputs.incomplete = true;
        }
    }
    if (leftOut > 0 && !options.quiet) {
        const bool one = leftOut == 1;
        printLine(err, "Hinweis: " + std::to_string(leftOut) + (one ? " Datei " : " Dateien ") +
                           (takesPlain ? "mit der" : "ohne die") + " Erweiterung .aes " +
                           (one ? "wurde" : "wurden") + " ausgelassen.");
    }
    return inputs;
}

void printJson(const std::vector<jobs::JobReport::File>& records, Report& out) {
    std::string lines;
    for (const auto& record : records) {
        lines += jsonLine(record);
    }
    out.put(lines);
}

// The record of one file; `text` gets the lines that show it.
jobs::JobReport::File infoRecord(const std::string& file, std::string& text) {
    jobs::JobReport::File record{file, jobs::FileOutcome::Done};
    io::InputFile in(io::FileLocation::of(file));  // beneath a walked tree, as the jobs open it
    const std::uint64_t size = in.size();
    const auto header = jobs::readHeader(in);
    text = terminalText(file) + "\n";
    if (!header || !header->signatureValid()) {
        text += "  Signatur:               fehlt (keine Datei dieses Programms)\n";
        record.outcome = jobs::FileOutcome::Foreign;
        return record;
    }
    const bool lengthValid = jobs::bodyLengthValid(size);
    record.storedCrc = header->CrcText;
    record.bodyLength = size - jobs::HeaderLength;
    if (!lengthValid) {
        record.outcome = jobs::FileOutcome::SizeError;
    }
    text += "  Signatur:               aes (gültig)\n";
    text += "  CRC-32:                 " + terminalText(header->CrcText) + "\n";
    text += "  Verschlüsselter Inhalt: " + std::to_string(record.bodyLength) + " Bytes (" +
            (lengthValid ? "gültig" : "ungültig: kein positives Vielfaches von 16") + ")\n";
    return record;
}

int info(const Inputs& inputs, const Options& options, Report& out, std::FILE* err) {
    int status = inputs.incomplete ? kFileFailed : kOk;
    std::vector<jobs::JobReport::File> records;
    for (const auto& file : inputs.files) {
        if (io::isDirectory(file)) {
            continue;  // the hint to use -r has been given
        }
        std::string text;
        try {
            records.push_back(infoRecord(file, text));
        } catch (const io::FileError& error) {
            const std::string message = jobs::fileErrorMessage(error);
            std::fprintf(err, "%s\n", terminalMessage(message, holdsCr(file)).c_str());
            records.push_back({file, jobs::FileOutcome::Failed, {}, {}, 0, {}, message});
        }
        if (!options.json) {
            out.put(text);
        }
        if (records.back().outcome != jobs::FileOutcome::Done) {
            status = kFileFailed;
        }
    }
    if (options.json) {
        printJson(records, out);
    }
    return status;
}

// Files the job left alone have no message of the job's own: the command line words one, for
// standard error and for the record.
void explainLeftAlone(jobs::JobReport& report) {
    for (auto& file : report.files) {
        if (file.outcome == jobs::FileOutcome::Skipped) {
            file.error = "Übersprungen (keine vorhandene reguläre Datei): " + file.path;
        } else if (file.outcome == jobs::FileOutcome::NotReplaced) {
            file.error = "Nicht ersetzt: " + file.output +
                         " gibt es schon; mit --force wird eine vorhandene Datei ersetzt.";
        }
    }
}

void reportLeftAlone(const jobs::JobReport& report, std::FILE* err) {
    for (const auto& file : report.files) {
        if (file.outcome == jobs::FileOutcome::Skipped ||
            file.outcome == jobs::FileOutcome::NotReplaced) {
            printLine(err, file.error);
        }
    }
}

int parallelFiles(const Options& options) {
    if (options.jobs > 0) {
        return options.jobs;
    }
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

int runJob(const Options& options, const Inputs& inputs, const Streams& streams, Report& out,
           const StopFlag* stopSignal) {
    const bool encrypt = options.command == Command::Encrypt;
    const std::vector<std::string>& files = inputs.files;
    if (files.empty()) {  // only folders walked with -r that hold nothing to do
        if (!options.quiet) {
            printLine(streams.err, "Hinweis: Keine passenden Dateien gefunden, nichts zu tun.");
        }
        return inputs.incomplete ? kFileFailed : kOk;
    }
    if (!encrypt) {
        for (const auto& file : files) {
            if (!jobs::hasAesExtension(file) && !io::isDirectory(file)) {
                printLine(streams.err,
                          "Nur Dateien mit der Erweiterung .aes können entschlüsselt oder "
                          "geprüft werden: " +
                              file);
                return kUsage;
            }
        }
    }
    if (!options.output.empty() && options.output != io::kStandardStream &&
        files[0] != io::kStandardStream && io::sameFile(files[0], options.output)) {
        printLine(streams.err, "Die Ausgabe " + options.output + " ist die Eingabe selbst.");
        return kUsage;
    }
    PasswordOutcome password = obtainPasswords(options, encrypt, streams.in, stopSignal);
    for (const auto& warning : password.warnings) {
        printLine(streams.err, warning);
    }
    if (password.stopSignal != 0) {
        std::fprintf(streams.err, "Abgebrochen.\n");
        return 128 + password.stopSignal;
    }
    if (!password.passwords) {
        printLine(streams.err, password.error);
        return kUsage;
    }
    const std::string& typed = password.passwords->first.str();
    if (encrypt && !typed.empty() && (typed.front() == ' ' || typed.back() == ' ')) {
        printLine(streams.err,
                  "Warnung: Das Passwort beginnt oder endet mit einem Leerzeichen. Es gehört "
                  "dazu: Beim Entschlüsseln muss es genauso angegeben werden.");
    }
    // The window's boxes take 32 characters; longer passwords would make files it cannot open.
    auto converted = jobs::toWindows1252(typed);
    const std::size_t convertedLength = converted ? converted->size() : 0;
    if (converted) {
        secureWipe(*converted);
    }
    if (convertedLength > jobs::kMaxPasswordLength) {
        std::fprintf(streams.err, "Das Passwort darf höchstens %zu Zeichen lang sein.\n",
                     jobs::kMaxPasswordLength);
        return kUsage;
    }

    CliView view(streams.err, streams.errIsTerminal, options.quiet, stopSignal);
    const jobs::FileList list = encrypt ? jobs::FileList::Encrypt : jobs::FileList::Decrypt;
    view.setFiles(list, files);
    view.setPasswords(password.passwords->first.str(), password.passwords->repeat.str());
    view.setNaming(!options.originalName, options.suffix);
    view.setForce(options.force);
    view.setOutput(options.output.empty() || options.output == io::kStandardStream
                       ? options.output
                       : linkTarget(io::AbsolutePaths()(options.output)));
    const jobs::DecryptTarget target = options.command == Command::Verify
                                           ? jobs::DecryptTarget::VerifyOnly
                                           : jobs::DecryptTarget::WriteFiles;
    // Only a piped input can end early because of the same Ctrl-C; the extra look costs a call.
    const bool piped = std::find(files.begin(), files.end(), io::kStandardStream) != files.end();
    jobs::ParallelFileRunner runner(view, list, parallelFiles(options), [stopSignal, piped] {
        return stopRequested(stopSignal, piped);
    });
    jobs::JobReport report = runner.run(
        [&](jobs::JobView& oneFile) {
            return encrypt ? jobs::cmdEnc_Click(oneFile) : jobs::cmdDec_Click(oneFile, target);
        },
        encrypt ? " , EncryptTime: " : " , DecryptTime: ");
    // The same words as the windows when files were skipped or kept.
    view.setStatusText(window_model::statusAfterJob(report, view.statusText(), files.size()));
    view.finishStatus();
    explainLeftAlone(report);
    if (options.json) {
        printJson(report.files, out);
    }
    reportLeftAlone(report, streams.err);  // an error: it makes the status 1, so -q shows it too
    // A file that ends the job leaves the rest of the list unstarted: say how much. After an
    // input error nothing started, and the message said why.
    const std::size_t unstarted = files.size() - std::min(files.size(), report.files.size());
    if (unstarted > 0 && !report.aborted && !report.inputError) {
        printLine(streams.err, "Hinweis: Danach wurde" + std::string(unstarted == 1 ? " " : "n ") +
                                   std::to_string(unstarted) +
                                   (unstarted == 1 ? " weitere Datei" : " weitere Dateien") +
                                   " nicht bearbeitet.");
    }
    if (report.aborted) {
        // Only a stop signal or a reader that closed the pipe aborts; the latter ends quietly,
        // as SIGPIPE itself would (Windows has no such signal).
        const int signal =
            stopSignal != nullptr && stopSignal->load() != 0 ? stopSignal->load() : kPipeClosed;
        if (signal != kPipeClosed) {
            std::fprintf(streams.err, "Abgebrochen; die unfertige Ausgabe wurde entfernt.\n");
        }
        return 128 + signal;
    }
    if (report.inputError) {
        return kUsage;
    }
    return report.allDone() && !inputs.incomplete ? kOk : kFileFailed;
}

}  // namespace

int runCli(const std::vector<std::string>& arguments, const Streams& streams,
           const StopFlag* stopSignal) {
    ParseResult parsed = parseArguments(arguments);
    if (!parsed.options) {
        std::fprintf(streams.err, "aes-marnoq-cli: %s\nHilfe: aes-marnoq-cli --help\n",
                     terminalText(parsed.error).c_str());
        return kUsage;
    }
    const Options& options = *parsed.options;
    Report out(streams.out, stopSignal);
    try {
        switch (options.command) {
            case Command::Help:
                out.put(usageText());
                return out.status(kOk, streams.err);
            case Command::Version:
                out.put(std::string("aes-marnoq-cli ") + kVersion + " (" + kCommit + ")\nAES: " +
                        cRijndael::BlockPathName() + ", CRC-32: " + crcPathName() + "\n");
                return out.status(kOk, streams.err);
            case Command::Info:
                return out.status(
                    info(collectInputs(options, streams.err), options, out, streams.err),
                    streams.err);
            default:
                return out.status(
                    runJob(options, collectInputs(options, streams.err), streams, out, stopSignal),
                    streams.err);
        }
    } catch (const std::filesystem::filesystem_error& error) {
        // Making a relative path absolute needs the working folder, which may have been deleted.
        std::error_code gone;
        (void)std::filesystem::current_path(gone);
        printLine(
            streams.err,
            gone ? "Der aktuelle Ordner ist nicht mehr zugänglich, daher können relative "
                   "Pfade nicht aufgelöst werden. Bitte die Pfade vollständig angeben oder "
                   "in einen vorhandenen Ordner wechseln."
                 : "Der Pfad " + io::utf8Text(error.path1()) +
                       " kann nicht bearbeitet werden: " + jobs::reasonText(error.code().value()));
        return kUsage;
    }
}

}  // namespace marnoq::cli
