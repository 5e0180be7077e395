#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "win/owned_handle.h"

namespace marnoq::win {

// The info window: how the files are named, what the header holds, what AES is, and the
// version. It does not block the main window; the user closes it with its close box or Escape.
class InfoWindow {
  public:
    explicit InfoWindow(HINSTANCE instance);
    InfoWindow(const InfoWindow&) = delete;
    InfoWindow& operator=(const InfoWindow&) = delete;
    ~InfoWindow();

    bool isOpen() const { return window_ != nullptr; }
    HWND handle() const { return window_; }
    // Restored if minimised, raised and active.
    void bringForward();
    // Escape closes the window, as it closes a dialog; true when the key was for it.
    bool closesOnEscape(const MSG& message);

    // For ownedWindowProc.
    void attachWindow(HWND window) { window_ = window; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    HWND controlWindow(std::string_view name) const;
    void createControls();
    void layout(UINT dpi);
    void Form_Load();

    HINSTANCE instance_;
    HWND window_ = nullptr;
    std::vector<OwnedFont> fonts_;
    OwnedBrush background_;
    OwnedBrush panel_;
    OwnedBrush paper_;
};

}  // namespace marnoq::win
