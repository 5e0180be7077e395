#include "ui/std_dialoge.h"

#include <QFileInfo>
#include <QStringList>

namespace marnoq::ui {

QString toolkitFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        if (const auto open = description.lastIndexOf('('); open > 0) {
            description = description.left(open).trimmed();
        }
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            if (pattern == "*.*") {
                patterns << "*";
            } else {
                patterns << pattern.toLower() << pattern.toUpper();
            }
        }
        patterns.removeDuplicates();
        entries << description + " (" + patterns.join(' ') + ")";
    }
    if (entries.isEmpty()) {
        entries << filter;
    }
    return entries.join(";;");
}

QString ShowOpen(UserDialogs& dialogs, QWidget* owner, const QString& title,
                 const QString& initialDirectory, const QString& initialFile, const QString& filter,
                 const QString& defaultExt) {
    Q_UNUSED(defaultExt);
    const QString start =
        initialFile.isEmpty() ? initialDirectory : initialDirectory + "/" + initialFile;
    const QStringList picked = dialogs.openFiles(owner, title, start, toolkitFilter(filter));
    if (picked.isEmpty()) {
        return {};
    }
    if (picked.size() == 1) {
        return picked.front();
    }
    QStringList parts{QFileInfo(picked.front()).absolutePath()};
    for (const QString& path : picked) {
        parts << QFileInfo(path).fileName();
    }
    return parts.join(QChar(0));
}

}  // namespace marnoq::ui
