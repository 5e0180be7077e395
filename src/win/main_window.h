#pragma once

#include <windows.h>

#include <shellapi.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "jobs/job_report.h"
#include "jobs/job_view.h"
#include "win/accessible_names.h"
#include "win/file_list_box.h"
#include "win/owned_handle.h"
#include "win/user_dialogs.h"
#include "window_model/dialog_selection.h"
#include "window_model/message_text.h"
#include "window_model/window_layout.h"

namespace marnoq::win {

class InfoWindow;

// The main window: the encrypt half above, the decrypt half below, the status line at the
// bottom. It is the jobs' view, so it runs the same job code as the other front ends.
class MainWindow : public jobs::JobView {
  public:
    MainWindow(HINSTANCE instance, UserDialogs& dialogs, const std::wstring& arguments);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    HWND handle() const { return window_; }
    // The keys a dialog box would handle (Tab, Return, Space) and the list's Delete key; true
    // when the message was used up.
    bool preTranslate(MSG& message);

    // JobView
    int entryCount(jobs::FileList list) const override;
    std::string entry(jobs::FileList list, int index) const override;
    int selectedIndex(jobs::FileList list) const override;
    void selectEntry(jobs::FileList list, int index) override;
    std::string passwordText(int box) const override;
    std::string suffixText() const override;
    bool suffixOptionSelected() const override;
    std::string caption(jobs::StartButton button) const override;
    void setCaption(jobs::StartButton button, const std::string& text) override;
    void setPointer(jobs::MousePointer pointer) override;
    void setFocus(jobs::Control control) override;
    std::string statusText() const override { return status_; }
    void setStatusText(const std::string& text) override;
    void showStatus() override;
    jobs::ReplaceAnswer askReplace(const std::string& path) override;
    void messageBox(const std::string& text, jobs::MessageIcon icon,
                    const std::string& title) override;
    void letEventsRun() override;
    jobs::JobState& state() override { return state_; }

    // For ownedWindowProc.
    void attachWindow(HWND window) { window_ = window; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void onActivate(bool active);
    HWND createControl(const window_model::ControlLayout& item, DWORD extraStyle);
    HWND controlWindow(const window_model::ControlLayout& item) const;
    void createControls();
    // The screen's DPI, lowered where the window would not fit the screen's free area.
    UINT fittedDpi(UINT dpi) const;
    void layout(UINT dpi);
    void paintFrames(HDC dc) const;
    LRESULT colourStatic(HDC dc) const;
    void setIcon(HWND child, int resource, int size, UINT message);
    void onCommand(int id, int code);
    bool onSetCursor();
    void onClose();
    void onReturn();
    bool ignoredWhileBusy(const MSG& message) const;

    void Form_Load(const std::wstring& arguments);
    void cmdEnc_Click();
    void cmdDec_Click();
    void afterJob(const jobs::JobReport& report, jobs::FileList list);
    void showStatusLine(bool final);
    void Command2_Click();
    void Command4_Click();
    void Befehl2_Click();
    void Command3_Click();

    // The lists: main_window_lists.cpp
    FileListBox& listOf(jobs::FileList list);
    const FileListBox& listOf(jobs::FileList list) const;
    void takeCommandLine(const std::wstring& arguments);
    // False, after saying so, when the list is full.
    bool addPath(FileListBox& list, const std::string& path);
    void addPaths(FileListBox& list, const std::vector<std::string>& paths);
    void refreshCount(const FileListBox& list);
    void clearList(FileListBox& list);
    void removeSelected(FileListBox& list);
    void addFromDialog(FileListBox& list, const window_model::OpenDialogText& text,
                       window_model::ShortcutRule shortcuts);
    void onDropFiles(HDROP drop);
    // List1_OLEDragDrop and List2_OLEDragDrop: the decrypt list takes only ".aes" files.
    void OLEDragDrop(FileListBox& list, const std::vector<std::wstring>& paths);
    bool onTestDrop(const COPYDATASTRUCT& data);
    void showMessage(const std::string& text);

    HWND control(int id) const { return GetDlgItem(window_, id); }

    HINSTANCE instance_;
    UserDialogs& dialogs_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    AccessibleNames names_;
    FileListBox List1;
    FileListBox List2;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    OwnedFont controlFont_;
    OwnedFont listFont_;
    OwnedBrush background_;
    std::vector<OwnedIcon> icons_;
    jobs::JobState state_;
    jobs::MousePointer pointer_ = jobs::MousePointer::Default;
    std::string status_;
    std::chrono::steady_clock::time_point lastPump_{};
    window_model::AnnouncementPace announcements_;
    bool closeAfterJob_ = false;
    std::unique_ptr<InfoWindow> info_;
    HWND lastFocus_ = nullptr;  // the control to give the focus back to
};

}  // namespace marnoq::win
