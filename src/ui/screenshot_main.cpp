// Renders the main window with a few sample files to a PNG, for the README.
#include <QApplication>
#include <QPixmap>

#include "ui/frm_aes.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        return 2;
    }
    marnoq::ui::QtDialogs dialogs;
    marnoq::ui::frmAES window(dialogs, {"/home/anna/Dokumente/Steuererklärung 2025.pdf",
                                        "/home/anna/Bilder/Urlaub.jpg",
                                        "/home/anna/Dokumente/Vertrag.odt.aes"});
    window.Label1.setText("File: 1 von 1,  File bearbeitet: 100 % , EncryptTime: 12,34 ms");
    window.Label1.show();
    window.show();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
