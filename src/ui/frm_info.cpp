#include "ui/frm_info.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/twips.h"
#include "version.h"

namespace marnoq::ui {

QString frmInfo::explanationText() {
    const QString br = "\r\n";
    const QString tab = "\t";
    return "Die verschlüsselten Dateien erhalten die zusätzliche Extension '.aes'." + br +
           "Die entschlüsselten Dateien erhalten als Dateinamen den Originalnamen plus einem "
           "wählbaren Suffix oder ihren Originalnamen ohne Suffix." + br + br +
           "Beispiel:" + br +
           "Unverschlüsselte Datei:" + tab + "sample.txt" + br +
           "Verschlüsselte Datei:" + tab + "sample.txt.aes" + br +
           "Entschlüsselte Datei:" + tab + "sample-dec.txt   oder ohne Suffix:   sample.txt" + br + br +
           "Um während der Entschlüsselung die Verifikation des Passworts zu ermöglichen, wird im "
           "Header der verschlüsselten Datei ein gesalteter SHA1-Hash des Passworts gespeichert. "
           "Da es sich beim SHA1-Algorithmus um eine nicht umkehrbare kryptographische "
           "Hashfunktion handelt, kann das Passwort aus dem gespeicherten Hash nicht "
           "rekonstruiert werden. "
           "Der gespeicherte Hash wird beim Entschlüsseln mit dem gesalteten Hash der "
           "Passworteingabe verglichen." + br +
           "Im Header der verschlüsselten Datei wird zusätzlich die crc32-Prüfsumme der "
           "Originaldatei gespeichert."
           " Bei der Entschlüsselung wird die crc32-Prüfsumme der entschlüsselten Datei ermittelt "
           "und mit der gespeicherten crc32-Prüfsumme verglichen." + br + br +
           "AES:" + br +
           "Der Advanced Encryption Standard (AES) ist ein symmetrisches Kryptoverfahren "
           "(Blockchiffrierung). "
           "Es ist der Sieger unter 15 eingereichten Verschlüsselungsalgorithmen eines offenen "
           "Wettbewerbs, den das US-amerikanische National Institute of Standards and Technology "
           "(NIST) veranstaltete. "
           "Nach seinen beiden Entwicklern wird der Algorithmus auch Rijndael-Algorithmus genannt."
           " AES bietet ein sehr hohes Maß an Sicherheit. Es ist in den USA für staatliche "
           "Dokumente mit höchster Geheimhaltungsstufe zugelassen.";
}

frmInfo::frmInfo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmInfo");
    setWindowTitle("AES256-Marnoq - Info");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        "marnoq--ui--frmInfo { background: rgb(64,64,64); }"
        "QLabel#Picture1 { background: rgb(128,128,128); }"
        "QLabel#Label3, QLabel#Label4, QLabel#Label1 { color: black; background: transparent; }"
        "QLabel#Label2 { background: rgb(253,255,230); }"
        "QPlainTextEdit#Text1 { background: rgb(253,255,230); color: rgb(0,0,192); border: none; }");
    const Twips twips = Twips::forWidget(this);
    setFixedSize(twips.pixels(8550), twips.pixels(8370));
    struct Placement {
        QWidget* widget;
        const char* name;
        int left, top, width, height;
    };
    const Placement placements[] = {
        {&Picture1, "Picture1", 0, 0, 8550, 915},   {&Label3, "Label3", 300, 120, 4755, 570},
        {&Label4, "Label4", 360, 660, 555, 195},    {&Label1, "Label1", 5160, 660, 3060, 195},
        {&Label2, "Label2", 180, 1020, 8235, 7215}, {&Text1, "Text1", 360, 1140, 7935, 6915},
    };
    for (const auto& p : placements) {
        p.widget->setObjectName(p.name);
        twips.place(p.widget, p.left, p.top, p.width, p.height);
    }
    QFont title("Verdana");
    title.setPointSize(24);
    Label3.setFont(title);
    QFont small("Verdana");
    small.setPointSizeF(8.25);
    Label4.setFont(small);
    Label1.setFont(small);
    Label1.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont mono("Courier New");
    mono.setPointSizeF(8.25);
    Text1.setFont(mono);
    Text1.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Label3.setText("AES256-Marnoq");
    Label1.setText("Dateiverschlüsselung mit AES-256");
    Form_Load();
}

void frmInfo::Form_Load() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    Text1.setPlainText(explanationText());
    Label4.setText(QString("Version: %1.%2").arg(kVersionMajor).arg(kVersionMinor));
}

}  // namespace marnoq::ui
