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

void frmAES::addFromDialog(FileListWidget* list, const window_model::OpenDialogText& text) {
    status_ = "0 %";
    showStatusLine();
    const QString picked = ShowOpen(dialogs_, this, text.title, QDir::currentPath(), QString(),
                                    text.filter, text.defaultExt);
    if (!picked.isEmpty()) {
        // No shortcuts to resolve here, and blanks at a name's ends belong to the name.
        addToList(list,
                  window_model::dialogSelectionPaths(QFile::encodeName(picked).toStdString(), '/',
                                                     window_model::ShortcutRule::Ignore));
        refreshList(list);
    }
    refreshCount(list);
}

void frmAES::Befehl2_Click() {
    addFromDialog(&List1, window_model::kEncryptDialog);
}

void frmAES::Command3_Click() {
    addFromDialog(&List2, window_model::kDecryptDialog);
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

void frmAES::OLEDragDrop(FileListWidget* list, const QList<QUrl>& urls) {
    if (urls.isEmpty()) {
        return;
    }
    std::vector<window_model::DroppedItem> items;
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            const QFileInfo info(url.toLocalFile());
            items.push_back({QFile::encodeName(info.absoluteFilePath()).toStdString(),
                             info.exists(), info.isDir()});
        }
    }
    const auto drop = window_model::dropFiles(
        items, list == &List1 ? jobs::FileList::Encrypt : jobs::FileList::Decrypt,
        [&](const std::string& path) { return addToList(list, path); });
    if (!drop.refused.empty()) {
        messageBox(window_model::refusedDropMessage(drop.refused), jobs::MessageIcon::Exclamation,
                   jobs::kJobTitle);
    }
    if (drop.refresh) {
        refreshList(list);
        refreshCount(list);
    }
}

}  // namespace marnoq::ui
