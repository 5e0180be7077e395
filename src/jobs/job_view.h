#pragma once

#include <cstdint>
#include <string>

namespace marnoq::io {
class DeferredNames;
}

namespace marnoq::jobs {

enum class FileList { Encrypt, Decrypt };                        // List1, List2
enum class StartButton { Encrypt, Decrypt };                     // cmdEnc, cmdDec
enum class Control { Password0, Password1, Password2, Suffix };  // Text3(0..2), txtSuffix
enum class MousePointer : int { Default = 0, Arrow = 1, Hourglass = 11 };
enum class MessageIcon { None, Exclamation };
// What the user says to a job that would replace an existing file.
enum class ReplaceAnswer { Replace, ReplaceAll, Skip, Cancel };

// What the window owns and the jobs read and set between and during runs.
struct JobState {
    std::int16_t JobMode = 0;  // 0 after start, 1 encrypt job, 2 decrypt job
    bool CancelEncrypt = false;
    bool CancelDecrypt = false;
    bool busy = false;            // a job is running: further starts and edits are ignored
    bool replaceAll = false;      // the user answered "replace all" during the running job
    bool abortRequested = false;  // the program is closing: the running job stops at once
    float filePercent = -1.0f;    // the last Progress of the running file, -1 before the first
};

// The window's side of a job. The Qt window and the command line implement it; tests record it.
class JobView {
  public:
    virtual ~JobView() = default;

    virtual int entryCount(FileList list) const = 0;
    virtual std::string entry(FileList list, int index) const = 0;
    virtual int selectedIndex(FileList list) const = 0;  // -1 when nothing is selected
    virtual void selectEntry(FileList list, int index) = 0;

    virtual std::string passwordText(int box) const = 0;  // Text3(box), UTF-8
    virtual std::string suffixText() const = 0;
    virtual bool suffixOptionSelected() const = 0;  // Option1(1)

    virtual std::string caption(StartButton button) const = 0;
    virtual void setCaption(StartButton button, const std::string& text) = 0;
    virtual void setPointer(MousePointer pointer) = 0;
    virtual void setFocus(Control control) = 0;

    virtual std::string statusText() const = 0;
    virtual void setStatusText(const std::string& text) = 0;
    virtual void showStatus() = 0;

    // Lines are joined by CR LF; an empty title means the program's default title.
    virtual void messageBox(const std::string& text, MessageIcon icon,
                            const std::string& title) = 0;
    virtual void letEventsRun() = 0;
    // Asked before a job replaces the existing file `path` (its output); may be asked from a
    // worker thread where several files run at once.
    virtual ReplaceAnswer askReplace(const std::string& path) = 0;

    virtual JobState& state() = 0;

    // The command line's -o for its only input: another output path, or "-" for standard
    // output; empty for the usual name beside the input.
    virtual std::string outputPath() const { return {}; }
    // Where small new outputs wait to be named together; none: each is named when complete.
    virtual io::DeferredNames* deferredNames() const { return nullptr; }
};

}  // namespace marnoq::jobs
