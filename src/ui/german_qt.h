#pragma once

#include <QString>
#include <optional>
#include <ostream>
#include <string>

class QCoreApplication;

namespace marnoq::ui {

// Loads the toolkit's own German texts (file dialog, standard buttons, context menus) from
// the folder. Without them the window would mix English into its German; that is said on
// start-up instead of passing silently.
bool loadGermanQtTexts(QCoreApplication& app, const QString& folder, std::ostream& warnings);
QString systemTranslationFolder();

// Why the window cannot open without any display to draw on, and what to do instead; empty
// when a display (or an explicitly chosen platform) is there.
std::optional<std::string> missingDisplayMessage(const char* x11Display, const char* waylandDisplay,
                                                 const char* chosenPlatform);

}  // namespace marnoq::ui
