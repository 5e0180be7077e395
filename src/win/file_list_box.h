#pragma once

#include <windows.h>

#include <string>

#include "window_model/file_list_rules.h"

namespace marnoq::win {

// A single-selection list box that shows the shared sorted file list: every change goes
// through the list's rules (order, each path once, the cap) and is mirrored into the control.
class FileListBox {
  public:
    using Outcome = window_model::SortedFileList::Outcome;

    void attach(HWND list) { list_ = list; }
    HWND handle() const { return list_; }

    int count() const { return static_cast<int>(entries_.size()); }
    const std::string& entry(int index) const;
    int selected() const;  // -1 when nothing is selected
    void select(int index);
    Outcome add(const std::string& path);
    void removeSelected();
    void clear();
    // Lets the longest entry scroll fully into view, with room to spare.
    void fitHorizontalExtent();

  private:
    void dropScrollBarWhenEmpty();

    HWND list_ = nullptr;
    window_model::SortedFileList entries_;
};

}  // namespace marnoq::win
