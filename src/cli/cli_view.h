#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/console.h"
#include "jobs/job_view.h"

namespace marnoq::cli {

// The job's window on a terminal: one list, messages as lines on stderr, the status line
// redrawn in place (at most ten times a second) when stderr is a terminal.
class CliView : public jobs::JobView {
  public:
    // `quiet`: no status line at all, only the messages.
    CliView(std::FILE* err, bool interactive, bool quiet, const StopFlag* stopSignal);

    void setFiles(jobs::FileList list, std::vector<std::string> files);
    void setPasswords(const std::string& first, const std::string& repeat);
    void setNaming(bool suffixMode, const std::string& suffix);
    void setOutput(const std::string& path) { output_ = path; }
    // Ends the in-place line and prints the final status text.
    void finishStatus();

    int entryCount(jobs::FileList list) const override;
    std::string entry(jobs::FileList list, int index) const override;
    int selectedIndex(jobs::FileList list) const override;
    void selectEntry(jobs::FileList list, int index) override;
    std::string passwordText(int box) const override;
    std::string suffixText() const override { return suffix_; }
    bool suffixOptionSelected() const override { return suffixMode_; }
    std::string caption(jobs::StartButton button) const override;
    void setCaption(jobs::StartButton button, const std::string& text) override;
    void setPointer(jobs::MousePointer) override {}
    void setFocus(jobs::Control) override {}
    std::string statusText() const override { return status_; }
    void setStatusText(const std::string& text) override;
    void showStatus() override {}
    void messageBox(const std::string& text, jobs::MessageIcon icon,
                    const std::string& title) override;
    void letEventsRun() override;
    // Decided by -f, not asked: scripts run unattended.
    jobs::ReplaceAnswer askReplace(const std::string&) override {
        return force_ ? jobs::ReplaceAnswer::Replace : jobs::ReplaceAnswer::Skip;
    }
    void setForce(bool force) { force_ = force; }
    jobs::JobState& state() override { return state_; }
    std::string outputPath() const override { return output_; }

    ~CliView() override;

  private:
    void redraw(bool force);
    // Bytes of the whole call done and to do, the rate and the time left.
    std::string totals(std::chrono::steady_clock::time_point now) const;

    std::FILE* err_;
    bool interactive_;
    bool quiet_;
    bool force_ = false;
    const StopFlag* stopSignal_;
    jobs::FileList list_ = jobs::FileList::Encrypt;
    std::vector<std::string> files_;
    bool filesHoldCr_ = false;
    int selected_ = -1;
    std::string passwords_[3];
    bool suffixMode_ = true;
    std::string suffix_ = "-dec";
    std::string output_;
    std::vector<std::uint64_t> sizes_;
    std::uint64_t totalBytes_ = 0;
    std::chrono::steady_clock::time_point started_{};
    std::string captions_[2] = {"AES Encrypt", "AES Decrypt"};
    std::string status_;
    bool lineOpen_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
    jobs::JobState state_;
};

}  // namespace marnoq::cli
