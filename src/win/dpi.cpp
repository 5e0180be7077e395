#include "win/dpi.h"

#include <cmath>
#include <string>

#include "io/windows_text.h"

namespace marnoq::win {
namespace {

template <typename Function>
Function user32Function(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // Through the generic function type, which the compiler accepts for any signature.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

const auto getDpiForWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
const auto adjustWindowRectExForDpi =
    user32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");

}  // namespace

bool systemSupported() {
    return getDpiForWindow != nullptr && adjustWindowRectExForDpi != nullptr;
}

UINT windowDpi(HWND window) {
    return getDpiForWindow(window);
}

int twipsToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

HFONT createFont(const window_model::FontFace& font, UINT dpi, double pointsLess) {
    LOGFONTW description{};
    description.lfHeight =
        -static_cast<LONG>(std::lround((font.pointSize - pointsLess) * dpi / 72));
    description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = DEFAULT_QUALITY;
    // Where the face itself is missing, the family decides what stands in for it.
    description.lfPitchAndFamily =
        font.family == "Courier New" ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS;
    const std::wstring face = io::toUtf16(std::string(font.family));
    face.copy(description.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&description);
}

COLORREF colour(window_model::Rgb rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

HICON loadIcon(HINSTANCE instance, int resource, int size, UINT dpi) {
    const int pixels = MulDiv(size, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_ICON, pixels, pixels, 0));
}

SIZE windowSizeFor(int widthTwips, int heightTwips, DWORD style, UINT dpi) {
    RECT frame{0, 0, twipsToPixels(widthTwips, dpi), twipsToPixels(heightTwips, dpi)};
    adjustWindowRectExForDpi(&frame, style, FALSE, 0, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void centreOnScreen(HWND window, bool workArea) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = workArea ? monitor.rcWork : monitor.rcMonitor;
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace marnoq::win
