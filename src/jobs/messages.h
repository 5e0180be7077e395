#pragma once

#include <string>

namespace marnoq::io {
class FileError;
}

namespace marnoq::jobs {

// The jobs' boxes: OK button, exclamation icon, the program's name as title.
inline constexpr const char* kJobTitle = "AES-Marnoq";
inline constexpr const char* kCrLf = "\r\n";
inline constexpr const char* kCancelCaption = "Abbrechen";
inline constexpr const char* kEncryptCaption = "AES Encrypt";
inline constexpr const char* kDecryptCaption = "AES Decrypt";

namespace text {
inline constexpr const char* kNoEncryptFiles = "Bitte eine zu verschlüsselnde Dateien auswählen !";
inline constexpr const char* kNoDecryptFiles = "Bitte eine zu entschlüsselnde Dateien auswählen !";
inline constexpr const char* kEnterPassword = "Bitte ein Passwort eingeben !";
inline constexpr const char* kEnterDecryptPassword = "Bitte das Passwort eingeben !";
inline constexpr const char* kPasswordsDiffer = "Die Passworte stimmen nicht überein !";
inline constexpr const char* kWrongPassword = "Falsches Passwort!";
inline constexpr const char* kPasswordCharacters =
    "Das Passwort enthält Zeichen, die nicht verwendet werden können.\r\n"
    "Erlaubt sind nur Zeichen des Zeichensatzes Windows-1252 (z. B. Buchstaben mit Umlauten, "
    "Ziffern, Satzzeichen).";
inline constexpr const char* kSuffixSlash =
    "Der Suffix darf keinen Schrägstrich \"/\" enthalten, sonst läge die entschlüsselte Datei in "
    "einem anderen Ordner.";
inline constexpr const char* kStandardInput = "Standardeingabe";
inline constexpr const char* kStandardOutput = "Standardausgabe";
inline constexpr const char* kDecryptDone = "FileDecrypt bearbeitet: 100 %";
}  // namespace text

std::string foreignFileMessage(const std::string& fileName);
std::string checksumMessage(const std::string& fileName);
std::string spacedPasswordLine();
std::string keptOlderFileLine(const std::string& path);
std::string sameFileMessage(const std::string& path);
std::string specialOutputMessage(const std::string& path);

// The system's reason for a failed file access, in German.
std::string reasonText(int code);

// The German message for a failed file access: the three lines for permission and read-only
// media when writing, else what failed, the file and the system's reason.
std::string fileErrorMessage(const io::FileError& error);

}  // namespace marnoq::jobs
