#include "ui/german_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace marnoq::ui {
namespace {

bool isSet(const char* value) {
    return value != nullptr && *value != '\0';
}

}  // namespace

bool loadGermanQtTexts(QCoreApplication& app, const QString& folder, std::ostream& warnings) {
    auto* translator = new QTranslator(&app);  // the application owns it
    if (translator->load("qtbase_de", folder)) {
        QCoreApplication::installTranslator(translator);
        return true;
    }
    delete translator;
    warnings << "aes-marnoq: Warnung: Die deutschen Texte von Qt (qtbase_de.qm) fehlen in "
             << folder.toStdString()
             << "; Dateidialog und Schaltflächen erscheinen englisch. Abhilfe: Paket "
                "qt6-translations-l10n installieren.\n";
    return false;
}

QString systemTranslationFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

std::optional<std::string> missingDisplayMessage(const char* x11Display, const char* waylandDisplay,
                                                 const char* chosenPlatform) {
    if (isSet(x11Display) || isSet(waylandDisplay) || isSet(chosenPlatform)) {
        return std::nullopt;
    }
    return "aes-marnoq: Keine grafische Anzeige gefunden (weder DISPLAY noch WAYLAND_DISPLAY "
           "ist gesetzt).\nDas Fenster braucht eine grafische Sitzung. Ohne Anzeige "
           "verschlüsselt und entschlüsselt aes-marnoq-cli dieselben Dateien auf der "
           "Befehlszeile; in einer Sitzung über SSH hilft \"ssh -X\" oder das Setzen von "
           "DISPLAY.\n";
}

}  // namespace marnoq::ui
