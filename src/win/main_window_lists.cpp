#include <windows.h>

#include <shellapi.h>

#include "io/windows_text.h"
#include "jobs/messages.h"
#include "version.h"
#include "win/main_window.h"
#include "win/main_window_controls.h"
#include "win/test_drop.h"
#include "win/text_fit.h"
#include "window_model/command_line_split.h"
#include "window_model/dialog_selection.h"
#include "window_model/file_list_rules.h"
#include "window_model/message_text.h"

namespace marnoq::win {
namespace {

std::wstring currentDirectory() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

}  // namespace

FileListBox& MainWindow::listOf(jobs::FileList list) {
    return list == jobs::FileList::Encrypt ? List1 : List2;
}

const FileListBox& MainWindow::listOf(jobs::FileList list) const {
    return list == jobs::FileList::Encrypt ? List1 : List2;
}

void MainWindow::showMessage(const std::string& text) {
    messageBox(text, jobs::MessageIcon::Exclamation, jobs::kJobTitle);
}

void MainWindow::refreshCount(const FileListBox& list) {
    const HWND label = control(&list == &List1 ? Label5 : Label6);
    SetWindowTextW(
        label,
        io::toUtf16(window_model::countText(static_cast<std::size_t>(list.count()))).c_str());
    growToFit(label, window_model::Alignment::Right);
}

bool MainWindow::addPath(FileListBox& list, const std::string& path) {
    if (list.add(path) != FileListBox::Outcome::Full) {
        return true;
    }
    showMessage(window_model::kListFullMessage);
    return false;
}

void MainWindow::addPaths(FileListBox& list, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (!addPath(list, path)) {
            return;
        }
    }
}

void MainWindow::takeCommandLine(const std::wstring& arguments) {
    const auto request = window_model::windowArguments(io::commandLineArguments(arguments));
    using Request = window_model::WindowArguments::Request;
    if (request.request != Request::Open) {
        // No console to print to: the answer comes in a box, and the lists stay empty.
        messageBox(request.request == Request::Help ? window_model::windowHelpText("AES-Marnoq")
                   : request.request == Request::Version
                       ? std::string("AES-Marnoq ") + kVersion
                       : window_model::unknownOptionText(request.unknownOption),
                   jobs::MessageIcon::None, jobs::kJobTitle);
        return;
    }
    const auto files = window_model::sortCommandLine(request.files, io::toUtf8(currentDirectory()));
    addPaths(List1, files.encrypt);
    addPaths(List2, files.decrypt);
    List1.fitHorizontalExtent();
    List2.fitHorizontalExtent();
}

void MainWindow::clearList(FileListBox& list) {
    list.clear();
    refreshCount(list);
}

void MainWindow::removeSelected(FileListBox& list) {
    list.removeSelected();
    refreshCount(list);
}

void MainWindow::addFromDialog(FileListBox& list, const window_model::OpenDialogText& text,
                               window_model::ShortcutRule shortcuts) {
    status_ = "0 %";
    SetWindowTextW(control(Label1), L"0 %");
    const std::wstring picked =
        dialogs_.showOpen(window_, {io::toUtf16(text.title), currentDirectory(),
                                    io::toUtf16(text.filter), io::toUtf16(text.defaultExt)});
    if (!picked.empty()) {
        addPaths(list, window_model::dialogSelectionPaths(io::toUtf8(picked), '\\', shortcuts));
        list.fitHorizontalExtent();
    }
    refreshCount(list);
}

void MainWindow::Befehl2_Click() {
    addFromDialog(List1, window_model::kEncryptDialog, window_model::ShortcutRule::Apply);
}

void MainWindow::Command3_Click() {
    addFromDialog(List2, window_model::kDecryptDialog, window_model::ShortcutRule::Ignore);
}

void MainWindow::onDropFiles(HDROP drop) {
    POINT at{};
    DragQueryPoint(drop, &at);
    const HWND target =
        ChildWindowFromPointEx(window_, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    std::vector<std::wstring> paths(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < paths.size(); ++i) {
        paths[i].resize(DragQueryFileW(drop, i, nullptr, 0) + 1);
        paths[i].resize(
            DragQueryFileW(drop, i, paths[i].data(), static_cast<UINT>(paths[i].size())));
    }
    DragFinish(drop);
    if (state_.busy || paths.empty()) {
        return;
    }
    if (target == List1.handle()) {
        OLEDragDrop(List1, paths);
    } else if (target == List2.handle()) {
        OLEDragDrop(List2, paths);
    }
}

void MainWindow::OLEDragDrop(FileListBox& list, const std::vector<std::wstring>& paths) {
    std::vector<window_model::DroppedItem> items;
    for (const std::wstring& path : paths) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        items.push_back({io::toUtf8(path), attributes != INVALID_FILE_ATTRIBUTES,
                         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    }
    const auto drop = window_model::dropFiles(
        items, &list == &List1 ? jobs::FileList::Encrypt : jobs::FileList::Decrypt,
        [&](const std::string& path) { return addPath(list, path); });
    if (!drop.refused.empty()) {
        showMessage(window_model::refusedDropMessage(drop.refused));
    }
    if (drop.refresh) {
        list.fitHorizontalExtent();
        refreshCount(list);
    }
}

bool MainWindow::onTestDrop(const COPYDATASTRUCT& data) {
    const HWND list = data.dwData == kTestDropEncrypt   ? List1.handle()
                      : data.dwData == kTestDropDecrypt ? List2.handle()
                                                        : nullptr;
    if (list == nullptr) {
        return false;
    }
    RECT box{};
    GetWindowRect(list, &box);
    POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ScreenToClient(window_, &centre);
    const HDROP drop = dropHandle(data.lpData, data.cbData, centre);
    // Posted, so the sender is not held while a message box waits for the user.
    return drop != nullptr &&
           PostMessageW(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

}  // namespace marnoq::win
