#include "win/main_window.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

#include "io/windows_text.h"
#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "secure/wipe.h"
#include "win/accessible_names.h"
#include "win/dpi.h"
#include "win/info_window.h"
#include "win/main_window_controls.h"
#include "win/resource_ids.h"
#include "win/text_fit.h"
#include "win/window_class.h"
#include "window_model/message_text.h"
#include "window_model/window_layout.h"

namespace marnoq::win {
namespace {

using window_model::ControlKind;
using window_model::ControlLayout;

constexpr const wchar_t* kClassName = L"AES256MarnoqMain";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr auto kPumpInterval = std::chrono::milliseconds(20);
constexpr int kDummyLeft = -3000;
constexpr ControlId kPasswordBoxes[] = {Text3_0, Text3_1, Text3_2};
constexpr int kPasswordLength = 32;

const window_model::WindowLayout& layoutTable() {
    return window_model::mainWindowLayout();
}

bool isInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE);
}

bool isTabStop(std::string_view name) {
    const auto order = window_model::mainTabOrder();
    return std::find(order.begin(), order.end(), name) != order.end();
}

struct WindowKind {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

WindowKind windowKind(const ControlLayout& control) {
    const DWORD align = control.alignment == window_model::Alignment::Right    ? SS_RIGHT
                        : control.alignment == window_model::Alignment::Centre ? SS_CENTER
                                                                               : SS_LEFT;
    switch (control.kind) {
        case ControlKind::Label:
            return {L"STATIC", align | SS_NOPREFIX, 0};
        case ControlKind::Button:
            // The N/P toggle is a push-like check box, so it says whether the passwords show.
            return {L"BUTTON",
                    static_cast<DWORD>(control.name == "Command2" ? BS_AUTOCHECKBOX | BS_PUSHLIKE
                                                                  : BS_PUSHBUTTON) |
                        WS_CLIPCHILDREN,
                    0};
        case ControlKind::PictureButton:
            return {L"BUTTON", BS_PUSHBUTTON | BS_ICON, 0};
        case ControlKind::OptionButton:
            return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
        case ControlKind::TextBox:
            return {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::PasswordBox:
            return {L"EDIT", ES_AUTOHSCROLL | ES_PASSWORD, WS_EX_CLIENTEDGE};
        case ControlKind::FileList:
            return {L"LISTBOX",
                    WS_VSCROLL | WS_HSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0};
        case ControlKind::Picture:
            return {L"STATIC", SS_ICON | SS_CENTERIMAGE, 0};
        default:
            return {nullptr, 0, 0};
    }
}

std::string windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return io::toUtf8(text);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, UserDialogs& dialogs, const std::wstring& arguments)
    : instance_(instance),
      dialogs_(dialogs),
      background_(CreateSolidBrush(colour(window_model::kBlack))) {
    registerWindowClass(instance, kClassName, ownedWindowProc<MainWindow>, IDI_LOCKED,
                        static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    CreateWindowExW(0, kClassName, io::toUtf16(std::string(layoutTable().caption)).c_str(), kStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                    instance, this);
    dpi_ = fittedDpi(windowDpi(window_));
    createControls();
    layout(dpi_);
    centreOnScreen(window_, true);
    DragAcceptFiles(window_, TRUE);
    Form_Load(arguments);
}

MainWindow::~MainWindow() {
    info_.reset();
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
            return colourStatic(reinterpret_cast<HDC>(wParam));
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            paintFrames(dc);
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_COPYDATA:
            return onTestDrop(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_SETCURSOR:
            if (onSetCursor()) {
                return TRUE;
            }
            break;
        case WM_DPICHANGED: {
            dpi_ = fittedDpi(HIWORD(wParam));
            layout(dpi_);
            moveToSuggestedRect(window_, lParam);
            return 0;
        }
        case WM_ACTIVATE:
            onActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SETFOCUS:  // the window itself takes no keys: on to its control
            onActivate(true);
            return 0;
        case WM_CLOSE:
            onClose();
            return 0;
        case WM_DESTROY:
            window_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

HWND MainWindow::createControl(const ControlLayout& item, DWORD extraStyle) {
    const WindowKind kind = windowKind(item);
    const bool onButton = !item.parent.empty();
    const HWND parent = onButton ? control(controlId(item.parent)) : window_;
    const std::string_view text =
        item.kind == ControlKind::PictureButton ? item.accessibleName : item.text;
    HWND child = CreateWindowExW(
        kind.exStyle, kind.windowClass, io::toUtf16(std::string(text)).c_str(),
        WS_CHILD | WS_VISIBLE | kind.style | extraStyle, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(item.name))), instance_, nullptr);
    if (!item.accessibleName.empty()) {
        names_.name(child, io::toUtf16(std::string(item.accessibleName)));
    }
    if (const auto description = window_model::descriptionOf(item); !description.empty()) {
        names_.describe(child, io::toUtf16(std::string(description)));
    }
    if (!item.toolTip.empty() && !onButton) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(child);
        const std::wstring tip = io::toUtf16(std::string(item.toolTip));
        tool.lpszText = const_cast<wchar_t*>(tip.c_str());
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return child;
}

void MainWindow::createControls() {
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    // Tab stops first, in the keyboard's order; each starts a group but the second option.
    for (std::string_view name : window_model::mainTabOrder()) {
        createControl(layoutTable().control(name),
                      WS_TABSTOP | (name == "Option1(1)" ? 0 : WS_GROUP));
    }
    for (const ControlLayout& item : layoutTable().controls) {
        if (!isTabStop(item.name) && windowKind(item).windowClass != nullptr) {
            createControl(item, 0);
        }
    }
    for (ControlId box : kPasswordBoxes) {
        SendMessageW(control(box), EM_SETPASSWORDCHAR, L'*', 0);
        SendMessageW(control(box), EM_LIMITTEXT, kPasswordLength, 0);
    }
    // Themed option buttons ignore the text colour; the classic ones draw olive on black.
    SetWindowTheme(control(Option1_0), L"", L"");
    SetWindowTheme(control(Option1_1), L"", L"");
    SendMessageW(control(Option1_1), BM_SETCHECK, BST_CHECKED, 0);
    ShowWindow(control(Label1), SW_HIDE);
    // The old focus sink: nothing sends the focus there any more, and screen readers skip it.
    ShowWindow(control(dummy), SW_HIDE);
    List1.attach(control(win::List1));
    List2.attach(control(win::List2));
}

void MainWindow::layout(UINT dpi) {
    const auto place = [&](const ControlLayout& item, int left) {
        HWND child = controlWindow(item);
        int top = item.top;
        if (!item.parent.empty()) {
            const ControlLayout& parent = layoutTable().control(item.parent);
            left -= parent.left;
            top -= parent.top;
        }
        SetWindowPos(child, nullptr, twipsToPixels(left, dpi), twipsToPixels(top, dpi),
                     twipsToPixels(item.width, dpi), twipsToPixels(item.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // Placed first, so the widest label can be measured against its box.
    const ControlLayout& widest = layoutTable().control("Label2");
    place(widest, widest.left);
    controlFont_ = OwnedFont(createFittingFont(
        window_model::fontOf(window_model::FontRole::Control), dpi, control(Label2)));
    listFont_ = OwnedFont(createFont(window_model::fontOf(window_model::FontRole::List), dpi));
    std::vector<OwnedIcon> previousIcons = std::move(icons_);
    for (const ControlLayout& item : layoutTable().controls) {
        if (windowKind(item).windowClass == nullptr) {
            continue;
        }
        place(item, item.name == "dummy" ? kDummyLeft : item.left);
        const HFONT font =
            item.kind == ControlKind::FileList ? listFont_.get() : controlFont_.get();
        SendMessageW(controlWindow(item), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (const int icon = iconOf(item.name); icon != 0) {
            const bool small = item.kind == ControlKind::PictureButton;
            setIcon(controlWindow(item), icon, small ? 16 : 32, small ? BM_SETIMAGE : STM_SETIMAGE);
        }
        if (item.kind == ControlKind::Label) {
            growToFit(controlWindow(item), item.alignment);
        }
    }
    const SIZE size = windowSizeFor(layoutTable().width, layoutTable().height, kStyle, dpi);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

UINT MainWindow::fittedDpi(UINT dpi) const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return dpi;
    }
    const SIZE size = windowSizeFor(layoutTable().width, layoutTable().height, kStyle, dpi);
    const double scale =
        window_model::fittingScale(size.cx, size.cy, monitor.rcWork.right - monitor.rcWork.left,
                                   monitor.rcWork.bottom - monitor.rcWork.top);
    return static_cast<UINT>(dpi * scale);
}

HWND MainWindow::controlWindow(const ControlLayout& item) const {
    const HWND parent = item.parent.empty() ? window_ : control(controlId(item.parent));
    return GetDlgItem(parent, controlId(item.name));
}

void MainWindow::setIcon(HWND child, int resource, int size, UINT message) {
    OwnedIcon icon(loadIcon(instance_, resource, size, dpi_));
    SendMessageW(child, message, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
    icons_.push_back(std::move(icon));
}

void MainWindow::paintFrames(HDC dc) const {
    const OwnedPen pen(CreatePen(PS_SOLID, 1, colour(window_model::kOlive)));
    const HGDIOBJ oldPen = SelectObject(dc, pen.get());
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const auto pixels = [this](int twips) { return twipsToPixels(twips, dpi_); };
    for (const ControlLayout& item : layoutTable().controls) {
        if (item.kind == ControlKind::Frame) {
            Rectangle(dc, pixels(item.left), pixels(item.top), pixels(item.left + item.width),
                      pixels(item.top + item.height));
        } else if (item.kind == ControlKind::Line) {
            MoveToEx(dc, pixels(item.left), pixels(item.top), nullptr);
            LineTo(dc, pixels(item.left + item.width), pixels(item.top + item.height));
        }
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

LRESULT MainWindow::colourStatic(HDC dc) const {
    SetTextColor(dc, colour(window_model::kOlive));
    SetBkColor(dc, colour(window_model::kBlack));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(background_.get());
}

void MainWindow::Form_Load(const std::wstring& arguments) {
    status_ = "0 %";
    SetWindowTextW(control(Label1), L"0 %");
    SetWindowTextW(control(Label5), L"");
    SetWindowTextW(control(Label6), L"");
    state_.CancelEncrypt = false;
    state_.CancelDecrypt = false;
    takeCommandLine(arguments);
    refreshCount(List1);
    refreshCount(List2);
}

void MainWindow::onCommand(int id, int code) {
    switch (id) {
        case IDOK:
            onReturn();
            break;
        case cmdEnc:
            cmdEnc_Click();
            break;
        case cmdDec:
            cmdDec_Click();
            break;
        case Command1:
            SendMessageW(window_, WM_CLOSE, 0, 0);
            break;
        case Command2:
            Command2_Click();
            break;
        case Command4:
            Command4_Click();
            break;
        case Command5:
            clearList(List1);
            break;
        case Command6:
            clearList(List2);
            break;
        case Befehl2:
            Befehl2_Click();
            break;
        case Command3:
            Command3_Click();
            break;
        case win::List1:
        case win::List2:
            if (code == LBN_DBLCLK) {
                removeSelected(id == win::List1 ? List1 : List2);
            }
            break;
        default:
            break;
    }
}

void MainWindow::onReturn() {
    // Return in the repeated or the decrypt password starts that half's job; on a focused
    // button it presses the button.
    HWND focus = GetFocus();
    if (focus == control(Text3_1)) {
        cmdEnc_Click();
    } else if (focus == control(Text3_2)) {
        cmdDec_Click();
    } else if (focus != nullptr && GetParent(focus) == window_ &&
               (SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
                (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON))) {
        SendMessageW(focus, BM_CLICK, 0, 0);
    }
}

bool MainWindow::ignoredWhileBusy(const MSG& message) const {
    if (!state_.busy || !isInput(message.message)) {
        return false;
    }
    for (ControlId id : {win::List1, win::List2, Option1_0, Option1_1, txtSuffix, Command5,
                         Command6, Befehl2, Command3}) {
        if (message.hwnd == control(id)) {
            return true;
        }
    }
    return false;
}

// As dialogs do: the control that had the focus gets it back after a message box or the info
// window, and at start the first one in the tab order has it, so the keyboard works at once.
void MainWindow::onActivate(bool active) {
    if (!active) {
        const HWND focused = GetFocus();
        if (focused != nullptr && IsChild(window_, focused)) {
            lastFocus_ = focused;
        }
        return;
    }
    const bool usable =
        lastFocus_ != nullptr && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_);
    SetFocus(usable ? lastFocus_ : GetNextDlgTabItem(window_, nullptr, FALSE));
}

bool MainWindow::preTranslate(MSG& message) {
    if (ignoredWhileBusy(message)) {
        return true;
    }
    if (info_ != nullptr && info_->closesOnEscape(message)) {
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_DELETE &&
        (message.hwnd == List1.handle() || message.hwnd == List2.handle())) {
        removeSelected(message.hwnd == List1.handle() ? List1 : List2);
        return true;
    }
    return window_ != nullptr && IsDialogMessageW(window_, &message);
}

bool MainWindow::onSetCursor() {
    switch (pointer_) {
        case jobs::MousePointer::Hourglass:
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return true;
        case jobs::MousePointer::Arrow:
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            return true;
        case jobs::MousePointer::Default:
            return false;
    }
    return false;
}

void MainWindow::onClose() {
    if (state_.busy) {
        // The job stops at its next chance and removes what it was writing; then we close.
        state_.abortRequested = true;
        closeAfterJob_ = true;
        return;
    }
    info_.reset();
    DestroyWindow(window_);
}

void MainWindow::cmdEnc_Click() {
    afterJob(jobs::cmdEnc_Click(*this), jobs::FileList::Encrypt);
}

void MainWindow::cmdDec_Click() {
    afterJob(jobs::cmdDec_Click(*this), jobs::FileList::Decrypt);
}

void MainWindow::afterJob(const jobs::JobReport& report, jobs::FileList list) {
    status_ =
        window_model::statusAfterJob(report, status_, static_cast<std::size_t>(entryCount(list)));
    showStatusLine(true);
    if (const auto skipped = window_model::skippedMessage(report)) {
        showMessage(*skipped);
    }
    if (closeAfterJob_ && !state_.busy) {
        closeAfterJob_ = false;
        SendMessageW(window_, WM_CLOSE, 0, 0);
    }
}

void MainWindow::Command2_Click() {
    const bool masked = SendMessageW(control(Text3_0), EM_GETPASSWORDCHAR, 0, 0) == L'*';
    for (ControlId box : {Text3_0, Text3_1, Text3_2}) {
        SendMessageW(control(box), EM_SETPASSWORDCHAR, masked ? 0 : L'*', 0);
        InvalidateRect(control(box), nullptr, TRUE);
    }
    SetWindowTextW(control(Command2), masked ? L"P" : L"N");
    SendMessageW(control(Command2), BM_SETCHECK, masked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::Command4_Click() {
    if (info_ && info_->isOpen()) {
        info_->bringForward();
        return;
    }
    info_ = std::make_unique<InfoWindow>(instance_);
}

int MainWindow::entryCount(jobs::FileList list) const {
    return listOf(list).count();
}

std::string MainWindow::entry(jobs::FileList list, int index) const {
    return listOf(list).entry(index);
}

int MainWindow::selectedIndex(jobs::FileList list) const {
    return listOf(list).selected();
}

void MainWindow::selectEntry(jobs::FileList list, int index) {
    listOf(list).select(index);
}

std::string MainWindow::passwordText(int box) const {
    // The UTF-16 copy is ours to wipe; the jobs wipe the UTF-8 text they are given.
    std::wstring wide(kPasswordLength + 1, L'\0');
    wide.resize(static_cast<std::size_t>(
        GetWindowTextW(control(kPasswordBoxes[box]), wide.data(), static_cast<int>(wide.size()))));
    std::string text = io::toUtf8(wide);
    secureWipe(wide.data(), wide.size() * sizeof(wchar_t));
    return text;
}

std::string MainWindow::suffixText() const {
    return windowText(control(txtSuffix));
}

bool MainWindow::suffixOptionSelected() const {
    return SendMessageW(control(Option1_1), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string MainWindow::caption(jobs::StartButton button) const {
    return windowText(control(button == jobs::StartButton::Encrypt ? cmdEnc : cmdDec));
}

void MainWindow::setCaption(jobs::StartButton button, const std::string& text) {
    SetWindowTextW(control(button == jobs::StartButton::Encrypt ? cmdEnc : cmdDec),
                   io::toUtf16(text).c_str());
}

void MainWindow::setPointer(jobs::MousePointer pointer) {
    pointer_ = pointer;
    if (!onSetCursor()) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
}

void MainWindow::setFocus(jobs::Control focus) {
    constexpr ControlId kBoxes[] = {Text3_0, Text3_1, Text3_2, txtSuffix};  // in Control's order
    SetFocus(control(kBoxes[static_cast<int>(focus)]));
}

void MainWindow::setStatusText(const std::string& text) {
    status_ = text;
    if (!state_.busy) {
        showStatusLine(true);
    }
}

void MainWindow::showStatusLine(bool final) {
    // Each new text of the label is a name change a screen reader speaks: at most twice a
    // second during a job, never twice the same, the last one always.
    if (announcements_.due(status_, std::chrono::steady_clock::now(), final)) {
        SetWindowTextW(control(Label1), io::toUtf16(status_).c_str());
    }
}

void MainWindow::showStatus() {
    ShowWindow(control(Label1), SW_SHOW);
}

void MainWindow::messageBox(const std::string& text, jobs::MessageIcon icon,
                            const std::string& title) {
    showStatusLine(true);
    dialogs_.message(
        window_, io::toUtf16(window_model::fittedMessage(text, window_model::messageNames(*this))),
        icon, io::toUtf16(title));
}

jobs::ReplaceAnswer MainWindow::askReplace(const std::string& path) {
    showStatusLine(true);
    return dialogs_.askReplace(window_, io::toUtf16(window_model::replaceQuestion(path)));
}

void MainWindow::letEventsRun() {
    // Repaints and clicks a few dozen times a second keep the window alive without slowing
    // the job; the status texts themselves are all still set, in order.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < kPumpInterval) {
        return;
    }
    lastPump_ = now;
    showStatusLine(false);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            state_.abortRequested = true;
            return;
        }
        if (!preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace marnoq::win
