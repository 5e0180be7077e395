#include "win/text_fit.h"

#include <string>

#include "win/dpi.h"

namespace marnoq::win {
namespace {

constexpr double kSmallerStep = 0.75;  // points

int textWidth(HWND label, HFONT font) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
    HDC dc = GetDC(label);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return size.cx;
}

}  // namespace

void growToFit(HWND label, window_model::Alignment alignment) {
    RECT frame{};
    GetWindowRect(label, &frame);
    MapWindowPoints(nullptr, GetParent(label), reinterpret_cast<POINT*>(&frame), 2);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    const window_model::Box box{frame.left, frame.top, frame.right - frame.left,
                                frame.bottom - frame.top};
    const window_model::Box grown =
        window_model::grownToFit(box, alignment, textWidth(label, font));
    if (grown != box) {
        // The text was drawn for the old box just before: copied bits would keep it cut off.
        SetWindowPos(label, nullptr, grown.left, grown.top, grown.width, grown.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        const RECT now{grown.left, grown.top, grown.left + grown.width, grown.top + grown.height};
        RECT both{};
        UnionRect(&both, &frame, &now);
        RedrawWindow(GetParent(label), &both, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

HFONT createFittingFont(const window_model::FontFace& face, UINT dpi, HWND widestLabel) {
    RECT box{};
    GetClientRect(widestLabel, &box);
    const HFONT font = createFont(face, dpi);
    if (textWidth(widestLabel, font) <= box.right) {
        return font;
    }
    DeleteObject(font);
    return createFont(face, dpi, kSmallerStep);
}

}  // namespace marnoq::win
