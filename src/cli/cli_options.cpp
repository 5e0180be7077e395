#include "cli/cli_options.h"

#include <map>

namespace marnoq::cli {
namespace {

const std::map<std::string, Command> kCommands = {
    {"encrypt", Command::Encrypt}, {"decrypt", Command::Decrypt}, {"verify", Command::Verify},
    {"info", Command::Info},       {"--help", Command::Help},     {"-h", Command::Help},
    {"--version", Command::Version}};

ParseResult failure(const std::string& text) { return {std::nullopt, text}; }

}  // namespace

ParseResult parseArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return failure("Kein Befehl angegeben.");
    }
    auto found = kCommands.find(arguments[0]);
    if (found == kCommands.end()) {
        return failure("Unbekannter Befehl: " + arguments[0]);
    }
    Options options;
    options.command = found->second;
    if (options.command == Command::Help || options.command == Command::Version) {
        return {options, {}};
    }
    bool onlyFiles = false;
    bool suffixGiven = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) {
                return std::nullopt;
            }
            return arguments[++i];
        };
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            options.files.push_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "--password-file") {
            auto path = value();
            if (!path) {
                return failure("--password-file braucht einen Pfad.");
            }
            options.passwordSource = PasswordSource::File;
            options.passwordFile = *path;
        } else if (arg == "--password-stdin") {
            options.passwordSource = PasswordSource::Stdin;
        } else if (arg == "--original-name" && options.command == Command::Decrypt) {
            options.originalName = true;
        } else if (arg == "--suffix" && options.command == Command::Decrypt) {
            auto suffix = value();
            if (!suffix) {
                return failure("--suffix braucht einen Text.");
            }
            options.suffix = *suffix;
            suffixGiven = true;
        } else if (arg == "--password" || arg.rfind("--password=", 0) == 0) {
            return failure(
                "Das Passwort wird nie als Argument angenommen (es stünde in der Prozessliste). "
                "Bitte --password-file oder --password-stdin verwenden.");
        } else {
            return failure("Unbekannte Option: " + arg);
        }
    }
    if (options.originalName && suffixGiven) {
        return failure("--original-name und --suffix schließen sich aus.");
    }
    if (options.files.empty()) {
        return failure("Keine Dateien angegeben.");
    }
    return {options, {}};
}

const char* usageText() {
    return "Aufruf:\n"
           "  aes-marnoq-cli encrypt [PASSWORT-QUELLE] DATEI...\n"
           "  aes-marnoq-cli decrypt [PASSWORT-QUELLE] [--original-name | --suffix S] DATEI.aes...\n"
           "  aes-marnoq-cli verify  [PASSWORT-QUELLE] DATEI.aes...\n"
           "  aes-marnoq-cli info    DATEI.aes...\n"
           "  aes-marnoq-cli --help | --version\n"
           "\n"
           "encrypt  verschlüsselt jede DATEI nach DATEI.aes im selben Ordner.\n"
           "decrypt  entschlüsselt jede DATEI.aes; der Name erhält den Suffix (Vorgabe \"-dec\")\n"
           "         vor der letzten Erweiterung, mit --original-name den Namen vor der\n"
           "         Verschlüsselung.\n"
           "verify   prüft Signatur, Passwort und CRC-32, ohne eine Datei zu schreiben.\n"
           "info     zeigt Signatur, gespeicherte CRC-32 und Länge des Inhalts.\n"
           "\n"
           "Passwort-Quelle (ohne Angabe wird am Terminal ohne Echo gefragt, bei encrypt zweimal):\n"
           "  --password-file PFAD  erste Zeile der Datei\n"
           "  --password-stdin      erste Zeile der Standardeingabe\n"
           "\n"
           "Exit-Status: 0 alles erledigt und geprüft, 1 eine Datei ist fehlgeschlagen,\n"
           "             2 Aufruf- oder Eingabefehler, 130/143 abgebrochen (SIGINT/SIGTERM).\n";
}

}  // namespace marnoq::cli
