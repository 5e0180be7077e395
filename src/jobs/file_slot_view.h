#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "jobs/job_view.h"
#include "secure/wipe.h"

namespace marnoq::jobs {

// The window of a job that runs one file of a longer list on a worker thread: it holds a copy
// of the settings, keeps what the job would show until the caller shows it in list order, and
// hands the running percentage and the stop request across threads.
class FileSlotView : public JobView {
  public:
    struct Shown {
        std::string text;
        MessageIcon icon;
        std::string title;
    };

    // Copies passwords, naming and output from `settings`; `stop`, or `closing` returning
    // true, ends the job like closing the program. `closing` is called on the worker thread.
    // Small new outputs wait in `names` until the caller names them.
    // The question whether to replace an existing file goes to `settings`, from the worker.
    FileSlotView(JobView& settings, FileList list, std::string file,
                 const std::atomic<bool>& stop, io::DeferredNames* names,
                 std::function<bool()> closing = {});

    const std::vector<Shown>& shown() const { return shown_; }
    float percent() const { return percent_.load(std::memory_order_relaxed); }

    int entryCount(FileList list) const override { return list == list_ ? 1 : 0; }
    std::string entry(FileList, int) const override { return file_; }
    int selectedIndex(FileList list) const override { return list == list_ ? 0 : -1; }
    void selectEntry(FileList, int) override {}
    std::string passwordText(int box) const override { return passwords_[box].str(); }
    std::string suffixText() const override { return suffix_; }
    bool suffixOptionSelected() const override { return suffixMode_; }
    std::string caption(StartButton button) const override;
    void setCaption(StartButton, const std::string&) override {}
    void setPointer(MousePointer) override {}
    void setFocus(Control) override {}
    std::string statusText() const override { return status_; }
    void setStatusText(const std::string& text) override;
    void showStatus() override {}
    void messageBox(const std::string& text, MessageIcon icon, const std::string& title) override {
        shown_.push_back({text, icon, title});
    }
    void letEventsRun() override;
    ReplaceAnswer askReplace(const std::string& path) override { return owner_.askReplace(path); }
    JobState& state() override { return state_; }
    std::string outputPath() const override { return output_; }
    io::DeferredNames* deferredNames() const override { return names_; }

  private:
    JobView& owner_;
    FileList list_;
    std::string file_;
    SecretString passwords_[3];
    std::string suffix_;
    bool suffixMode_;
    std::string output_;
    const std::atomic<bool>& stop_;
    io::DeferredNames* names_;
    std::function<bool()> closing_;
    std::string status_;
    std::atomic<float> percent_{-1.0f};
    std::vector<Shown> shown_;
    JobState state_;
};

}  // namespace marnoq::jobs
