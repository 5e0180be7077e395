#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "secure/process_protection.h"
#include "ui/frm_aes.h"
#include "ui/german_qt.h"
#include "version.h"

int main(int argc, char** argv) {
    marnoq::protectProcess();
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "aes-marnoq " << marnoq::kVersion << " (" << marnoq::kCommit << ")\n";
        return 0;
    }
    if (const auto message = marnoq::ui::missingDisplayMessage(std::getenv("DISPLAY"),
                                                               std::getenv("WAYLAND_DISPLAY"),
                                                               std::getenv("QT_QPA_PLATFORM"))) {
        std::cerr << *message;
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("AES-Marnoq");
    QApplication::setApplicationVersion(marnoq::kVersion);
    // Under Wayland the compositor finds the launcher and its icon by this name.
    QGuiApplication::setDesktopFileName("aes-marnoq");
    marnoq::ui::loadGermanQtTexts(app, marnoq::ui::systemTranslationFolder(), std::cerr);
    const QStringList arguments = QApplication::arguments().mid(1);
    std::vector<std::string> files;
    for (const QString& argument : arguments) {
        files.push_back(argument.toStdString());
    }
    marnoq::ui::QtDialogs dialogs;
    marnoq::ui::frmAES window(dialogs, files);
    window.show();
    return QApplication::exec();
}
