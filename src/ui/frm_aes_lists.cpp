#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "jobs/messages.h"
#include "ui/frm_aes.h"
#include "ui/std_dialoge.h"
#include "window_model/command_line_split.h"
#include "window_model/file_list_rules.h"
#include "window_model/message_text.h"

namespace marnoq::ui {

void frmAES::refreshCount(FileListWidget* list) {
    (list == &List1 ? Label5 : Label6)
        .setText(QString::fromStdString(
            window_model::countText(static_cast<std::size_t>(list->count()))));
}

void frmAES::refreshList(FileListWidget* list) {
    list->AddHScroll();
}

bool frmAES::addToList(FileListWidget* list, const std::string& path) {
    if (list->addEntry(path) != window_model::SortedFileList::Outcome::Full) {
        return true;
    }
    if (isVisible()) {
        reportListFull();
    } else {
        listFullPending_ = true;
    }
    return false;
}

void frmAES::reportListFull() {
    messageBox(window_model::kListFullMessage, jobs::MessageIcon::Exclamation, jobs::kJobTitle);
}

void frmAES::addToList(FileListWidget* list, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (!addToList(list, path)) {
            return;
        }
    }
}

void frmAES::takeCommandLine(const std::vector<std::string>& arguments) {
    const auto files = window_model::sortCommandLine(
        arguments, QFile::encodeName(QDir::currentPath()).toStdString());
    addToList(&List1, files.encrypt);
    addToList(&List2, files.decrypt);
    refreshList(&List1);
    refreshList(&List2);
}

void frmAES::addFromDialog(FileListWidget* list, const QString& title, const QString& filter,
                           const QString& defaultExt) {
    status_ = "0 %";
    showStatusLine();
    const QString picked =
        ShowOpen(dialogs_, this, title, QDir::currentPath(), QString(), filter, defaultExt);
    if (!picked.isEmpty()) {
        const QStringList parts = picked.split(QChar(0));
        if (parts.size() == 1) {
            addToList(list, QFile::encodeName(parts.front()).toStdString());
        } else {
            QString folder = parts.front();
            if (!folder.endsWith('/')) {
                folder += '/';
            }
            std::vector<std::string> paths;
            for (qsizetype i = 1; i < parts.size(); ++i) {
                if (!parts[i].isEmpty()) {
                    paths.push_back(QFile::encodeName(folder + parts[i]).toStdString());
                }
            }
            addToList(list, paths);
        }
        refreshList(list);
    }
    refreshCount(list);
}

void frmAES::Befehl2_Click() {
    addFromDialog(&List1, "Zu verschlüsselnde Datei(en) auswählen", "Alle Dateien (*.*)|*.*",
                  "*.*");
}

void frmAES::Command3_Click() {
    addFromDialog(&List2, "Zu entschlüsselnde Datei auswählen",
                  "AES verschluesselte Dateien (*.aes)|*.aes", "*.aes");
}

void frmAES::Command5_Click() {
    List1.clearEntries();
    refreshCount(&List1);
}

void frmAES::Command6_Click() {
    List2.clearEntries();
    refreshCount(&List2);
}

void frmAES::List1_DblClick() {
    List1.xListRemoveSelected();
    refreshCount(&List1);
}

void frmAES::List2_DblClick() {
    List2.xListRemoveSelected();
    refreshCount(&List2);
}

void frmAES::List1_OLEDragDrop(const QList<QUrl>& urls) {
    if (urls.isEmpty()) {
        return;
    }
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            continue;
        }
        const QFileInfo info(url.toLocalFile());
        if (!info.exists()) {
            return;  // an item that cannot be examined ends this drop, without a refresh
        }
        if (!info.isDir() &&
            !addToList(&List1, QFile::encodeName(info.absoluteFilePath()).toStdString())) {
            break;
        }
    }
    refreshList(&List1);
    refreshCount(&List1);
}

void frmAES::List2_OLEDragDrop(const QList<QUrl>& urls) {
    if (urls.isEmpty()) {
        return;
    }
    std::vector<std::string> refused;
    const auto sayRefused = [&] {
        if (!refused.empty()) {
            messageBox(window_model::refusedDropMessage(refused), jobs::MessageIcon::Exclamation,
                       jobs::kJobTitle);
        }
    };
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            continue;
        }
        const QFileInfo info(url.toLocalFile());
        if (!info.exists()) {
            sayRefused();
            return;
        }
        if (info.isDir()) {
            continue;
        }
        const std::string path = QFile::encodeName(info.absoluteFilePath()).toStdString();
        if (!window_model::decryptListAccepts(path)) {
            refused.push_back(path);
        } else if (!addToList(&List2, path)) {
            break;
        }
    }
    sayRefused();
    refreshList(&List2);
    refreshCount(&List2);
}

}  // namespace marnoq::ui
