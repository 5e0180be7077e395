#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "secure/process_protection.h"
#include "ui/frm_aes.h"
#include "ui/german_qt.h"
#include "version.h"
#include "window_model/command_line_split.h"

int main(int argc, char** argv) {
    marnoq::protectProcess();
    using Request = marnoq::window_model::WindowArguments::Request;
    const auto arguments =
        marnoq::window_model::windowArguments(std::vector<std::string>(argv + 1, argv + argc));
    switch (arguments.request) {
        case Request::Help:
            std::cout << marnoq::window_model::windowHelpText("aes-marnoq");
            return 0;
        case Request::Version:
            std::cout << "aes-marnoq " << marnoq::kVersion << " (" << marnoq::kCommit << ")\n";
            return 0;
        case Request::UnknownOption:
            std::cerr << marnoq::window_model::unknownOptionText(arguments.unknownOption);
            return 2;
        case Request::Open:
            break;
    }
    if (const auto message = marnoq::ui::missingDisplayMessage(std::getenv("DISPLAY"),
                                                               std::getenv("WAYLAND_DISPLAY"),
                                                               std::getenv("QT_QPA_PLATFORM"))) {
        std::cerr << *message;
        return 1;
    }
    // The toolkit sees only the program's name: a file called "-platform" stays a file.
    static int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    QApplication::setApplicationName("AES-Marnoq");
    QApplication::setApplicationVersion(marnoq::kVersion);
    // Under Wayland the compositor finds the launcher and its icon by this name.
    QGuiApplication::setDesktopFileName("aes-marnoq");
    marnoq::ui::loadGermanQtTexts(app, marnoq::ui::systemTranslationFolder(), std::cerr);
    marnoq::ui::QtDialogs dialogs;
    marnoq::ui::frmAES window(dialogs, arguments.files);
    window.show();
    return QApplication::exec();
}
