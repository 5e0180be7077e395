#include "win/info_window.h"

#include "io/windows_text.h"
#include "win/dpi.h"
#include "win/resource_ids.h"
#include "win/text_fit.h"
#include "win/window_class.h"
#include "window_model/info_text.h"
#include "window_model/window_layout.h"

namespace marnoq::win {
namespace {

constexpr const wchar_t* kClassName = L"AES256MarnoqInfo";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

using window_model::ControlKind;
using window_model::ControlLayout;

const window_model::WindowLayout& layoutTable() {
    return window_model::infoWindowLayout();
}

int idOf(const ControlLayout& control) {
    return 100 + static_cast<int>(&control - layoutTable().controls.data());
}

DWORD styleOf(const ControlLayout& control) {
    switch (control.kind) {
        case ControlKind::Label:
            return SS_NOPREFIX |
                   (control.alignment == window_model::Alignment::Right ? SS_RIGHT : SS_LEFT);
        case ControlKind::TextArea:
            return WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP;
        // The panels lie under the texts and must not paint over them.
        default:
            return WS_CLIPSIBLINGS;
    }
}

}  // namespace

InfoWindow::InfoWindow(HINSTANCE instance)
    : instance_(instance),
      background_(CreateSolidBrush(colour(window_model::kInfoBackground))),
      panel_(CreateSolidBrush(colour(window_model::kInfoPanel))),
      paper_(CreateSolidBrush(colour(window_model::kInfoPaper))) {
    // The background is painted in WM_ERASEBKGND with the window's own brush.
    registerWindowClass(instance, kClassName, ownedWindowProc<InfoWindow>, IDI_INFO, nullptr);
    CreateWindowExW(0, kClassName, io::toUtf16(std::string(layoutTable().caption)).c_str(), kStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                    instance, this);
    createControls();
    layout(windowDpi(window_));
    Form_Load();
    ShowWindow(window_, SW_SHOW);
}

InfoWindow::~InfoWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool InfoWindow::closesOnEscape(const MSG& message) {
    if (window_ == nullptr || message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE ||
        (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
        return false;
    }
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return true;
}

void InfoWindow::bringForward() {
    if (IsIconic(window_)) {
        ShowWindow(window_, SW_RESTORE);
    }
    SetForegroundWindow(window_);
}

LRESULT InfoWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(window_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            // The labels lie on the grey panel; the empty panel behind the text is paper.
            HDC dc = reinterpret_cast<HDC>(wParam);
            const bool paper = reinterpret_cast<HWND>(lParam) == controlWindow("Label2");
            SetTextColor(dc, colour(window_model::kBlack));
            SetBkColor(dc, colour(paper ? window_model::kInfoPaper : window_model::kInfoPanel));
            return reinterpret_cast<LRESULT>((paper ? paper_ : panel_).get());
        }
        case WM_CTLCOLOREDIT: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, colour(window_model::kInfoInk));
            SetBkColor(dc, colour(window_model::kInfoPaper));
            return reinterpret_cast<LRESULT>(paper_.get());
        }
        case WM_DPICHANGED: {
            layout(HIWORD(wParam));
            moveToSuggestedRect(window_, lParam);
            return 0;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

HWND InfoWindow::controlWindow(std::string_view name) const {
    return GetDlgItem(window_, idOf(layoutTable().control(name)));
}

void InfoWindow::createControls() {
    for (const ControlLayout& item : layoutTable().controls) {
        const wchar_t* windowClass = item.kind == ControlKind::TextArea ? L"EDIT" : L"STATIC";
        CreateWindowExW(0, windowClass, io::toUtf16(std::string(item.text)).c_str(),
                        WS_CHILD | WS_VISIBLE | styleOf(item), 0, 0, 0, 0, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(item))), instance_,
                        nullptr);
    }
    // The texts were created first and so lie above the panels.
    for (const char* panel : {"Label2", "Picture1"}) {
        SetWindowPos(controlWindow(panel), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void InfoWindow::layout(UINT dpi) {
    std::vector<OwnedFont> previousFonts = std::move(fonts_);
    for (const ControlLayout& item : layoutTable().controls) {
        HWND child = GetDlgItem(window_, idOf(item));
        SetWindowPos(child, nullptr, twipsToPixels(item.left, dpi), twipsToPixels(item.top, dpi),
                     twipsToPixels(item.width, dpi), twipsToPixels(item.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        fonts_.emplace_back(createFont(window_model::fontOf(item.font), dpi));
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.back().get()), TRUE);
        if (item.kind == ControlKind::Label) {
            growToFit(child, item.alignment);
        }
    }
    const SIZE size = windowSizeFor(layoutTable().width, layoutTable().height, kStyle, dpi);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InfoWindow::Form_Load() {
    centreOnScreen(window_, false);
    SetWindowTextW(controlWindow("Text1"),
                   io::toUtf16(window_model::infoExplanationText()).c_str());
    SetWindowTextW(controlWindow("Label4"), io::toUtf16(window_model::versionText()).c_str());
    growToFit(controlWindow("Label4"), window_model::Alignment::Left);
}

}  // namespace marnoq::win
