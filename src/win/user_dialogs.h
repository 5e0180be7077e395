#pragma once

#include <windows.h>

#include <string>

#include "jobs/job_view.h"

namespace marnoq::win {

// What the open buttons ask of the system's open-file dialog.
struct OpenRequest {
    std::wstring title;
    std::wstring initialDirectory;
    std::wstring filter;      // "description|pattern" pairs
    std::wstring defaultExt;  // written as a pattern, "*.aes"
};

// The message boxes and the open-file dialog, behind one interface so tests can answer them.
class UserDialogs {
  public:
    virtual ~UserDialogs() = default;
    // An empty title means the program's default title.
    virtual void message(HWND owner, const std::wstring& text, jobs::MessageIcon icon,
                         const std::wstring& title) = 0;
    // Whether a job may replace an existing file; the text names it.
    virtual jobs::ReplaceAnswer askReplace(HWND owner, const std::wstring& text) = 0;
    // Empty when cancelled; one full path; or the folder and the names, separated by L'\0'.
    virtual std::wstring showOpen(HWND owner, const OpenRequest& request) = 0;
};

class SystemDialogs : public UserDialogs {
  public:
    void message(HWND owner, const std::wstring& text, jobs::MessageIcon icon,
                 const std::wstring& title) override;
    jobs::ReplaceAnswer askReplace(HWND owner, const std::wstring& text) override;
    std::wstring showOpen(HWND owner, const OpenRequest& request) override;
};

}  // namespace marnoq::win
