// Renders the main window with files in both lists and the info window to PNGs, for the
// README: screenshot MAIN.png INFO.png. The scale comes from the environment
// (QT_SCALE_FACTOR), the platform from QT_QPA_PLATFORM.
#include <QApplication>
#include <QPixmap>
#include <iostream>

#include "ui/frm_aes.h"
#include "ui/frm_info.h"
#include "ui/german_qt.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::cerr << "Aufruf: aes-marnoq-screenshot HAUPTFENSTER.png INFOFENSTER.png\n";
        return 2;
    }
    marnoq::ui::loadGermanQtTexts(app, marnoq::ui::systemTranslationFolder(), std::cerr);
    marnoq::ui::QtDialogs dialogs;
    marnoq::ui::frmAES window(
        dialogs,
        {"/home/anna/Dokumente/Steuererklärung 2025.pdf",
         "/home/anna/Bilder/Urlaub/Strand am Abend.jpg", "/home/anna/Dokumente/Mietvertrag.odt",
         "/home/anna/Dokumente/Vertrag.odt.aes", "/home/anna/Sicherung/Fotos 2024.zip.aes"});
    window.setStatusText("File: 3 von 3,  File bearbeitet: 100 % , EncryptTime: 12,34 ms");
    window.showStatus();
    window.show();
    window.Command4_Click();
    QApplication::processEvents();
    const bool saved = window.grab().save(QString::fromLocal8Bit(argv[1])) &&
                       window.infoWindow()->grab().save(QString::fromLocal8Bit(argv[2]));
    return saved ? 0 : 1;
}
