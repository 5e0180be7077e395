#include "cli/cli_options.h"

#include <algorithm>
#include <map>
#include <set>

namespace marnoq::cli {
namespace {

const std::map<std::string, Command> kCommands = {
    {"encrypt", Command::Encrypt},  {"decrypt", Command::Decrypt}, {"verify", Command::Verify},
    {"info", Command::Info},        {"--help", Command::Help},     {"-h", Command::Help},
    {"--version", Command::Version}};

ParseResult failure(const std::string& text) {
    return {std::nullopt, text};
}

// The names under which a process reaches its own standard streams: 0, 1, 2, or -1 for none.
// Taken as files they would be replaced by a new file or read through an unrelated name.
int standardStreamNamed(const std::string& path) {
    for (const std::string folder : {"/dev/fd/", "/proc/self/fd/"}) {
        if (path.starts_with(folder)) {
            const std::string number = path.substr(folder.size());
            return number == "0" ? 0 : number == "1" ? 1 : number == "2" ? 2 : -1;
        }
    }
    return path == "/dev/stdin" ? 0 : path == "/dev/stdout" ? 1 : path == "/dev/stderr" ? 2 : -1;
}

using enum Command;

// The commands each option means something to; elsewhere it is refused, not ignored.
const std::map<std::string, std::vector<Command>> kOptionCommands = {
    {"--password-file", {Encrypt, Decrypt, Verify}},
    {"--password-stdin", {Encrypt, Decrypt, Verify}},
    {"--original-name", {Decrypt}},
    {"--suffix", {Decrypt}},
    {"-o", {Encrypt, Decrypt}},
    {"-r", {Encrypt, Decrypt, Verify, Info}},
    {"-j", {Encrypt, Decrypt, Verify}},
    {"--json", {Encrypt, Decrypt, Verify, Info}},
    {"-q", {Encrypt, Decrypt, Verify, Info}},
    {"-f", {Encrypt, Decrypt}}};

const std::map<std::string, std::string> kLongNames = {{"--output", "-o"},
                                                       {"--recursive", "-r"},
                                                       {"--jobs", "-j"},
                                                       {"--quiet", "-q"},
                                                       {"--force", "-f"}};

std::string shortName(const std::string& arg) {
    auto found = kLongNames.find(arg);
    return found == kLongNames.end() ? arg : found->second;
}

const std::set<std::string> kTakesValue = {"--password-file", "--suffix", "-o", "-j"};

// Appends "-rqfj4" as "-r", "-q", "-f", "-j", "4"; anything unknown stays whole for the message.
// True when the last option still waits for its value in the next word.
bool appendShortOptions(const std::string& word, std::vector<std::string>& plain) {
    std::vector<std::string> options;
    for (std::size_t k = 1; k < word.size(); ++k) {
        const std::string option{'-', word[k]};
        if (kTakesValue.contains(option)) {
            options.push_back(option);
            const bool attached = k + 1 < word.size();
            if (attached) {
                options.push_back(word.substr(k + 1));
            }
            plain.insert(plain.end(), options.begin(), options.end());
            return !attached;
        }
        if (option != "-r" && option != "-q" && option != "-f") {
            plain.push_back(word);
            return false;
        }
        options.push_back(option);
    }
    plain.insert(plain.end(), options.begin(), options.end());
    return false;
}

// The spellings scripts are used to, taken apart into the plain ones: --jobs=4, -j4, -oFILE
// and flags given together as in -rq.
std::vector<std::string> plainSpellings(const std::vector<std::string>& arguments) {
    std::vector<std::string> plain;
    bool onlyFiles = false;
    bool isValue = false;  // the word after "-o" or "--suffix" is theirs, whatever it looks like
    for (const std::string& arg : arguments) {
        const auto equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (isValue || onlyFiles || arg.size() < 3 || arg[0] != '-') {
            onlyFiles = onlyFiles || (arg == "--" && !isValue);
            isValue = !isValue && !onlyFiles && kTakesValue.contains(arg);
            plain.push_back(arg);
        } else if (arg[1] != '-') {
            isValue = appendShortOptions(arg, plain);
        } else if (equals != std::string::npos && kTakesValue.contains(shortName(name))) {
            isValue = false;
            plain.push_back(name);
            plain.push_back(arg.substr(equals + 1));
        } else {
            isValue = kTakesValue.contains(shortName(arg));
            plain.push_back(arg);
        }
    }
    return plain;
}

}  // namespace

ParseResult parseArguments(const std::vector<std::string>& givenArguments) {
    if (givenArguments.empty()) {
        return failure("Kein Befehl angegeben.");
    }
    const std::vector<std::string> arguments = plainSpellings(givenArguments);
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
    std::set<std::string> given;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) {
                return std::nullopt;
            }
            return arguments[++i];
        };
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            // After "--" a lone "-" is a file of that name, not the standard input.
            if (const int stream = standardStreamNamed(arg); stream > 0) {
                return failure(arg + " ist ein Datenstrom dieses Programms, keine Datei.");
            } else if (stream == 0) {
                options.files.push_back("-");  // the standard input, with its rules
                continue;
            }
            options.files.push_back(onlyFiles && arg == "-" ? "./-" : arg);
            continue;
        }
        if (auto uses = kOptionCommands.find(shortName(arg)); uses != kOptionCommands.end()) {
            const auto& commands = uses->second;
            if (std::find(commands.begin(), commands.end(), options.command) == commands.end()) {
                return failure(arg + " passt nicht zu " + arguments[0] + ".");
            }
            if (!given.insert(uses->first).second) {
                return failure(arg + " ist mehrfach angegeben.");
            }
        }
        if (arg == "--") {
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
        } else if (arg == "--original-name") {
            options.originalName = true;
        } else if (arg == "--suffix") {
            auto suffix = value();
            if (!suffix) {
                return failure("--suffix braucht einen Text.");
            }
            options.suffix = *suffix;
        } else if (arg == "-o" || arg == "--output") {
            auto path = value();
            if (!path || path->empty()) {
                return failure("-o braucht einen Pfad (oder - für die Standardausgabe).");
            }
            // The standard output under another name is the standard output; another stream of
            // this program is no place for an output.
            const int stream = standardStreamNamed(*path);
            if (stream >= 0 && stream != 1) {
                return failure("-o " + *path +
                               ": das ist ein Datenstrom dieses Programms, keine Datei; für die "
                               "Standardausgabe -o - angeben.");
            }
            options.output = stream == 1 ? "-" : *path;
        } else if (arg == "-r" || arg == "--recursive") {
            options.recursive = true;
        } else if (arg == "-j" || arg == "--jobs") {
            auto count = value();
            if (!count || count->empty() || count->size() > 4 ||
                count->find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(*count) < 1) {
                return failure("-j braucht eine Anzahl von 1 bis 9999.");
            }
            options.jobs = std::stoi(*count);
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "-q" || arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "-f" || arg == "--force") {
            options.force = true;
        } else if (arg == "--password" || arg.rfind("--password=", 0) == 0) {
            return failure(
                "Das Passwort wird nie als Argument angenommen (es stünde in der Prozessliste). "
                "Bitte --password-file oder --password-stdin verwenden.");
        } else {
            return failure("Unbekannte Option: " + arg);
        }
    }
    if (given.contains("--original-name") && given.contains("--suffix")) {
        return failure("--original-name und --suffix schließen sich aus.");
    }
    if (given.contains("--password-file") && given.contains("--password-stdin")) {
        return failure("--password-file und --password-stdin schließen sich aus.");
    }
    if (options.files.empty()) {
        return failure("Keine Dateien angegeben.");
    }
    const bool toStdout = options.output == "-";
    if (!options.output.empty() && (options.files.size() != 1 || options.recursive)) {
        return failure("-o gilt für genau eine Eingabe, ohne -r.");
    }
    if (toStdout && options.command == Command::Encrypt) {
        return failure(
            "encrypt schreibt nicht in eine Pipe oder auf ein Terminal: die Prüfsumme im Kopf "
            "wird erst geschrieben, wenn der Inhalt fertig ist. Bitte -o DATEI angeben.");
    }
    if (toStdout && options.json) {
        return failure(
            "--json und -o - schließen sich aus: beide schreiben auf die Standardausgabe.");
    }
    const bool fromStdin =
        std::find(options.files.begin(), options.files.end(), "-") != options.files.end();
    if (fromStdin && (options.command != Command::Encrypt || options.output.empty())) {
        return failure(
            "Die Standardeingabe (-) kann nur mit encrypt -o DATEI - verschlüsselt werden.");
    }
    if (fromStdin && options.passwordSource == PasswordSource::Stdin) {
        return failure("--password-stdin und Daten von der Standardeingabe schließen sich aus.");
    }
    return {options, {}};
}

const char* usageText() {
    return "Aufruf:\n"
           "  aes-marnoq-cli encrypt [OPTIONEN] DATEI...        (oder: -o DATEI.aes -)\n"
           "  aes-marnoq-cli decrypt [OPTIONEN] [--original-name | --suffix S] DATEI.aes...\n"
           "  aes-marnoq-cli verify  [OPTIONEN] DATEI.aes...\n"
           "  aes-marnoq-cli info    [-r] [--json] DATEI.aes...\n"
           "  aes-marnoq-cli --help | --version\n"
           "\n"
           "encrypt  verschlüsselt jede DATEI nach DATEI.aes im selben Ordner.\n"
           "decrypt  entschlüsselt jede DATEI.aes; der Name erhält den Suffix (Vorgabe \"-dec\")\n"
           "         vor der letzten Erweiterung, mit --original-name den Namen vor der\n"
           "         Verschlüsselung.\n"
           "verify   prüft Signatur, Passwort und CRC-32, ohne eine Datei zu schreiben.\n"
           "info     zeigt Signatur, gespeicherte CRC-32 und Länge des Inhalts.\n"
           "\n"
           "Passwort-Quelle (ohne Angabe wird am Terminal ohne Echo gefragt, bei encrypt "
           "zweimal):\n"
           "  --password-file PFAD  erste Zeile der Datei\n"
           "  --password-stdin      erste Zeile der Standardeingabe\n"
           "\n"
           "Optionen:\n"
           "  -o PFAD         Ausgabe für die einzige Eingabe (temporär geschrieben, dann "
           "umbenannt).\n"
           "                  encrypt -o DATEI.aes - verschlüsselt die Standardeingabe; die "
           "Ausgabe\n"
           "                  muss eine reguläre Datei sein.\n"
           "                  decrypt -o - DATEI.aes schreibt auf die Standardausgabe. Die "
           "Prüfsumme\n"
           "                  wird erst am Ende verglichen: bei Abweichung sind die Daten schon\n"
           "                  ausgegeben, es folgt die Prüfsummen-Meldung und Exit-Status 1.\n"
           "  -r, --recursive Ordner durchlaufen (symbolischen Links darin wird nicht gefolgt);\n"
           "                  encrypt nimmt jede Datei außer .aes, die anderen Befehle die "
           ".aes-Dateien.\n"
           "  -j, --jobs N    N Dateien gleichzeitig (Vorgabe: Anzahl der Prozessoren); Meldungen "
           "und\n"
           "                  Exit-Status bleiben in der Reihenfolge der Liste.\n"
           "  --json          je Datei ein JSON-Objekt auf der Standardausgabe; Meldungen weiter "
           "auf\n"
           "                  der Standardfehlerausgabe.\n"
           "  -q, --quiet     nur Fehler ausgeben.\n"
           "  -f, --force     (encrypt, decrypt) eine vorhandene Ausgabedatei ersetzen; ohne\n"
           "                  -f bleibt sie unverändert, die Datei zählt als fehlgeschlagen.\n"
           "Werte auch angehängt (-j4, -oDATEI, --jobs=4, --password-file=PFAD), Schalter\n"
           "zusammen (-rqf).\n"
           "\n"
           "Exit-Status: 0 alles erledigt und geprüft, 1 eine Datei ist fehlgeschlagen,\n"
#ifdef _WIN32
           "             2 Aufruf- oder Eingabefehler, 130 abgebrochen mit Strg+C oder\n"
           "             Strg+Pause, 141 der Empfänger der Ausgabe hat die Pipe geschlossen.\n";
#else
           "             2 Aufruf- oder Eingabefehler, 128+n abgebrochen durch Signal n\n"
           "             (130 SIGINT, 143 SIGTERM, 129 SIGHUP, 131 SIGQUIT, 141 SIGPIPE).\n";
#endif
}

}  // namespace marnoq::cli
