#include "window_model/info_text.h"

#include "version.h"

namespace marnoq::window_model {

std::string infoExplanationText() {
    const std::string br = "\r\n";
    const std::string tab = "\t";
    return "Die verschlüsselten Dateien erhalten die zusätzliche Extension '.aes'." + br +
           "Die entschlüsselten Dateien erhalten als Dateinamen den Originalnamen plus einem "
           "wählbaren Suffix oder ihren Originalnamen ohne Suffix." +
           br + br + "Beispiel:" + br + "Unverschlüsselte Datei:" + tab + "sample.txt" + br +
           "Verschlüsselte Datei:" + tab + "sample.txt.aes" + br + "Entschlüsselte Datei:" + tab +
           "sample-dec.txt   oder ohne Suffix:   sample.txt" + br + br +
           "Um während der Entschlüsselung die Verifikation des Passworts zu ermöglichen, wird im "
           "Header der verschlüsselten Datei ein gesalteter SHA1-Hash des Passworts gespeichert. "
           "Da es sich beim SHA1-Algorithmus um eine nicht umkehrbare kryptographische "
           "Hashfunktion handelt, kann das Passwort aus dem gespeicherten Hash nicht "
           "rekonstruiert werden. "
           "Der gespeicherte Hash wird beim Entschlüsseln mit dem gesalteten Hash der "
           "Passworteingabe verglichen." +
           br +
           "Im Header der verschlüsselten Datei wird zusätzlich die crc32-Prüfsumme der "
           "Originaldatei gespeichert."
           " Bei der Entschlüsselung wird die crc32-Prüfsumme der entschlüsselten Datei ermittelt "
           "und mit der gespeicherten crc32-Prüfsumme verglichen." +
           br + br + "AES:" + br +
           "Der Advanced Encryption Standard (AES) ist ein symmetrisches Kryptoverfahren "
           "(Blockchiffrierung). "
           "Es ist der Sieger unter 15 eingereichten Verschlüsselungsalgorithmen eines offenen "
           "Wettbewerbs, den das US-amerikanische National Institute of Standards and Technology "
           "(NIST) veranstaltete. "
           "Nach seinen beiden Entwicklern wird der Algorithmus auch Rijndael-Algorithmus genannt."
           " AES bietet ein sehr hohes Maß an Sicherheit. Es ist in den USA für staatliche "
           "Dokumente mit höchster Geheimhaltungsstufe zugelassen.";
}

std::string versionText(int major, int minor) {
    return "Version: " + std::to_string(major) + "." + std::to_string(minor);
}

std::string versionText() {
    return versionText(kVersionMajor, kVersionMinor);
}

}  // namespace marnoq::window_model
