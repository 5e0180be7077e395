#include "jobs/messages.h"

#include <cerrno>
#include <cstring>

#include "io/file_error.h"

namespace marnoq::jobs {

std::string reasonText(int code) {
    switch (code) {
        case io::kUnexpectedEnd: return "Die Datei wurde während der Verarbeitung kürzer.";
        case io::kGrewWhileRead: return "Die Datei wurde während der Verarbeitung länger.";
        case io::kNotRegularFile: return "Das ist keine reguläre Datei.";
        case io::kAppearedMeanwhile:
            return "Unter diesem Namen ist während der Verarbeitung eine Datei entstanden; sie "
                   "wurde nicht ersetzt.";
        case io::kFolderSwapped:
            return "Ein Ordner auf dem Weg wurde während der Verarbeitung durch einen anderen "
                   "Ordner oder einen Link ersetzt; die Datei wird nicht bearbeitet.";
        case ENOENT: return "Die Datei oder der Ordner existiert nicht.";
        case ENOSPC: return "Auf dem Datenträger ist kein Platz mehr frei.";
#ifdef EDQUOT  // Windows reports an exhausted quota as a full disk
        case EDQUOT: return "Das Speicherkontingent ist erschöpft.";
#endif
        case EISDIR: return "Unter diesem Namen existiert bereits ein Ordner.";
        case ENOTDIR: return "Ein Teil des Pfades ist kein Ordner.";
        case EIO: return "Ein-/Ausgabefehler des Datenträgers.";
        case EFBIG: return "Die Datei wird größer, als das Dateisystem oder die für dieses "
                           "Programm gesetzte Grenze (ulimit -f) erlaubt.";
        case ENAMETOOLONG: return "Der Dateiname ist zu lang.";
        case EACCES:
        case EPERM: return "Zugriff verweigert.";
        case EROFS: return "Der Datenträger ist schreibgeschützt.";
        case EMFILE:
        case ENFILE: return "Zu viele offene Dateien.";
        case EBUSY:
        case ETXTBSY: return "Die Datei wird von einem anderen Programm verwendet. Bitte die Datei "
                             "dort schließen und es erneut versuchen.";
        case io::kLockedRange: return "Ein anderes Programm hat Teile der Datei gesperrt. Bitte "
                                      "die Datei dort schließen und es erneut versuchen.";
        case EXDEV: return "Die Datei liegt auf einem anderen Dateisystem.";
        case EPIPE: return "Der Empfänger der Daten hat die Verbindung geschlossen.";
        case EEXIST: return "Unter diesem Namen existiert bereits etwas.";
        case ENOTEMPTY: return "Der Ordner ist nicht leer.";
        case ENOMEM: return "Nicht genug Arbeitsspeicher.";
        case EINVAL: return "Der Vorgang ist hier nicht möglich.";
        case EAGAIN: return "Die Ressource ist vorübergehend nicht verfügbar.";
        case EBADF:
        case ESPIPE: return "Das ist keine Datei, die sich so bearbeiten lässt.";
        case ENXIO:
        case ENODEV: return "Das Gerät ist nicht vorhanden.";
#ifdef ELOOP
        case ELOOP: return "Zu viele symbolische Links im Pfad.";
#endif
        default: return std::string("Systemfehler ") + std::to_string(code) + " (" +
                        io::systemErrorText(code) + ").";
    }
}

namespace {

const char* actionText(io::FileOperation operation) {
    switch (operation) {
        case io::FileOperation::Open:
        case io::FileOperation::Read: return "Fehler beim Lesen der Datei:";
        case io::FileOperation::Create:
        case io::FileOperation::Write:
        case io::FileOperation::Sync: return "Fehler beim Schreiben der Datei:";
        case io::FileOperation::Rename: return "Fehler beim Ersetzen der Datei:";
        case io::FileOperation::Remove: return "Fehler beim Löschen der Datei:";
        case io::FileOperation::Stat: return "Fehler beim Prüfen der Datei:";
    }
    return "Fehler bei der Datei:";
}

bool isWriteSide(io::FileOperation operation) {
    return operation != io::FileOperation::Open && operation != io::FileOperation::Read &&
           operation != io::FileOperation::Stat;
}

}  // namespace

std::string foreignFileMessage(const std::string& fileName) {
    return std::string("Die Datei: ") + kCrLf + fileName + kCrLf +
           "wurde nicht mit diesem Programm verschlüsselt oder ist beschädigt!";
}

std::string checksumMessage(const std::string& fileName) {
    return "Datei:  " + fileName + "   -> checksum error!" + kCrLf +
           "Die crc32 Checksumme der entschlüsselten Datei stimmt nicht mit der Checksumme der "
           "Originaldatei überein!";
}

std::string spacedPasswordLine() {
    return std::string(kCrLf) +
           "Wahrscheinliche Ursache: Das Passwort beginnt oder endet mit einem Leerzeichen. Die "
           "Passwortprüfung übergeht Leerzeichen am Anfang und Ende, der Schlüssel nicht; "
           "vermutlich wurde die Datei ohne sie verschlüsselt. Bitte ohne diese Leerzeichen "
           "erneut versuchen (in der Eingabeaufforderung hängt \"echo geheim |\" eines an).";
}

std::string keptOlderFileLine(const std::string& path) {
    return std::string(kCrLf) + "Die bereits vorhandene Datei " + path +
           " wurde beibehalten, das fehlerhafte Ergebnis verworfen.";
}

std::string sameFileMessage(const std::string& path) {
    return std::string("Die Datei: ") + kCrLf + path + kCrLf +
           "würde sich selbst überschreiben. Bitte einen anderen Suffix wählen!";
}

std::string specialOutputMessage(const std::string& path) {
    return std::string("Die Ausgabe: ") + kCrLf + path + kCrLf +
           "ist keine reguläre Datei. Ausgaben werden vollständig geschrieben und dann "
           "umbenannt; entschlüsselte Daten gehen mit -o - auf die Standardausgabe.";
}

std::string fileErrorMessage(const io::FileError& error) {
    if (error.isAccessFailure() && isWriteSide(error.operation())) {
        return std::string("Fehler beim Schreiben! Mögliche Ursachen:") + kCrLf +
               "1. Der aktuelle Ordner befindet sich auf einen schreibgeschützten Datenträger." +
               kCrLf +
               "2. Sie besitzen nicht die erforderlichen Rechte um in diesen Ordner zu schreiben." +
               kCrLf + error.path();
    }
    return std::string(actionText(error.operation())) + kCrLf + error.path() + kCrLf +
           reasonText(error.code());
}

}  // namespace marnoq::jobs
