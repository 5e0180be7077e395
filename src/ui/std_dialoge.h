#pragma once

#include <QString>

#include "ui/user_dialogs.h"

namespace marnoq::ui {

// The open-file dialog in the shape its callers rely on: empty when cancelled, one full path
// for one file, or the folder followed by the names, each part separated by a character 0.
// The filter is "description|pattern" pairs; defaultExt is kept for the callers' sake: only
// existing files can be picked, so it never applies.
QString ShowOpen(UserDialogs& dialogs, QWidget* owner, const QString& title,
                 const QString& initialDirectory, const QString& initialFile,
                 const QString& filter, const QString& defaultExt);

// "Alle Dateien (*.*)|*.*" as the toolkit's filter. "*.*" means every file here, also those
// without a dot, and ".aes" is matched in either case.
QString toolkitFilter(const QString& filter);

}  // namespace marnoq::ui
