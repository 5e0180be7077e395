#include "win/file_list_box.h"

#include "io/windows_text.h"
#include "window_model/horizontal_extent.h"

namespace marnoq::win {

const std::string& FileListBox::entry(int index) const {
    return entries_.entries().at(static_cast<std::size_t>(index));
}

int FileListBox::selected() const {
    return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
}

void FileListBox::select(int index) {
    SendMessageW(list_, LB_SETCURSEL, index, 0);
}

FileListBox::Outcome FileListBox::add(const std::string& path) {
    const auto insertion = entries_.insert(path);
    if (insertion.outcome == Outcome::Added) {
        SendMessageW(list_, LB_INSERTSTRING, insertion.index,
                     reinterpret_cast<LPARAM>(io::toUtf16(path).c_str()));
    }
    return insertion.outcome;
}

void FileListBox::removeSelected() {
    const int index = selected();
    if (index >= 0) {
        entries_.removeAt(static_cast<std::size_t>(index));
        SendMessageW(list_, LB_DELETESTRING, index, 0);
    }
    dropScrollBarWhenEmpty();
}

// The extent is kept while entries go, as the rules say; a list with none scrolls nowhere.
void FileListBox::dropScrollBarWhenEmpty() {
    if (entries_.size() == 0) {
        SendMessageW(list_, LB_SETHORIZONTALEXTENT, 0, 0);
    }
}

void FileListBox::clear() {
    entries_.clear();
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    dropScrollBarWhenEmpty();
}

void FileListBox::fitHorizontalExtent() {
    HDC dc = GetDC(list_);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list_, WM_GETFONT, 0, 0)));
    const int extent =
        window_model::horizontalExtent(entries_.entries(), [dc](const std::string& text) {
            const std::wstring wide = io::toUtf16(text);
            SIZE size{};
            GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
            return static_cast<int>(size.cx);
        });
    SelectObject(dc, old);
    ReleaseDC(list_, dc);
    SendMessageW(list_, LB_SETHORIZONTALEXTENT, extent, 0);
}

}  // namespace marnoq::win
