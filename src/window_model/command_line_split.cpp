#include "window_model/command_line_split.h"

#include "io/absolute_path.h"
#include "io/utf8_path.h"
#include "jobs/path_functions.h"

namespace marnoq::window_model {

CommandLineFiles sortCommandLine(const std::vector<std::string>& items,
                                 const std::string& currentFolder) {
    CommandLineFiles files;
    io::AbsolutePaths absolutePath(io::utf8Path(currentFolder));
    for (const std::string& item : items) {
        if (item.empty()) {
            continue;
        }
        const std::string full = absolutePath(item);
        (jobs::hasAesExtension(full) ? files.decrypt : files.encrypt).push_back(full);
    }
    return files;
}

WindowArguments windowArguments(const std::vector<std::string>& items) {
    WindowArguments arguments;
    bool options = true;
    for (const std::string& item : items) {
        if (!options || item.size() < 2 || item[0] != '-') {
            arguments.files.push_back(item);
        } else if (item == "--") {
            options = false;
        } else if (item == "-h" || item == "--help") {
            arguments.request = WindowArguments::Request::Help;
            return arguments;
        } else if (item == "--version") {
            arguments.request = WindowArguments::Request::Version;
            return arguments;
        } else {
            arguments.request = WindowArguments::Request::UnknownOption;
            arguments.unknownOption = item;
            return arguments;
        }
    }
    return arguments;
}

std::string windowHelpText(const std::string& programName) {
    return "Aufruf: " + programName +
           " [OPTION] [--] [DATEI ...]\n\n"
           "Öffnet das Fenster zum Ver- und Entschlüsseln. Genannte Dateien mit der Endung .aes\n"
           "kommen in die Liste zum Entschlüsseln, alle anderen in die Liste zum Verschlüsseln.\n\n"
           "Optionen:\n"
           "  -h, --help    diese Hilfe zeigen und beenden\n"
           "  --version     die Version zeigen und beenden\n"
           "  --            beendet die Optionen: alles Weitere sind Dateien, auch wenn ein\n"
           "                Name mit - beginnt\n\n"
           "Für Skripte und Terminals gibt es aes-marnoq-cli (Hilfe: aes-marnoq-cli --help).\n";
}

std::string unknownOptionText(const std::string& option) {
    return "Unbekannte Option: " + option +
           "\nDateien, deren Name mit - beginnt, bitte nach -- nennen. Hilfe: --help\n";
}

}  // namespace marnoq::window_model
