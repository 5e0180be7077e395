#pragma once

#include <windows.h>

#include <string>

struct IAccPropServices;

namespace marnoq::win {

// Gives controls the names a screen reader speaks, where the window text cannot (lists, text
// boxes, picture buttons). Without the system's annotation service the controls stay unnamed.
class AccessibleNames {
  public:
    AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;
    ~AccessibleNames();

    void name(HWND control, const std::wstring& text);
    void describe(HWND control, const std::wstring& text);

  private:
    bool comReady_ = false;
    IAccPropServices* services_ = nullptr;
};

}  // namespace marnoq::win
