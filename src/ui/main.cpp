#include <QApplication>
#include <cstring>
#include <iostream>

#include "secure/process_protection.h"
#include "ui/frm_aes.h"
#include "version.h"

int main(int argc, char** argv) {
    marnoq::protectProcess();
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "aes-marnoq " << marnoq::kVersion << " (" << marnoq::kCommit << ")\n";
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("AES-Marnoq");
    QApplication::setApplicationVersion(marnoq::kVersion);
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
