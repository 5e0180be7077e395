// Renders the main window with files in both lists and the info window to PNGs, for the
// README: screenshot MAIN.png INFO.png [MESSAGE.png], the last a message about a file with a
// very long name. The scale comes from the environment
// (QT_SCALE_FACTOR), the platform from QT_QPA_PLATFORM.
#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <iostream>

#include "jobs/messages.h"
#include "ui/frm_aes.h"
#include "ui/frm_info.h"
#include "ui/german_qt.h"
#include "window_model/message_text.h"

using namespace marnoq;

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
    if (argc < 4 || !saved) {
        return saved ? 0 : 1;
    }
    const std::string name = "Steuerbescheid " + std::string(210, 'x') + " Nachtrag-2025.pdf.aes";
    QMessageBox box(
        QMessageBox::Warning, "AES-Marnoq",
        QString::fromStdString(window_model::fittedMessage(jobs::foreignFileMessage(name), {name}))
            .replace("\r\n", "\n"),
        QMessageBox::Ok, &window);
    box.show();
    QApplication::processEvents();
    return box.grab().save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
