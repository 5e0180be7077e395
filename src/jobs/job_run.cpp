#include "jobs/job_run.h"

#include "io/file_error.h"
#include "jobs/messages.h"
#include "jobs/number_text.h"
#include "jobs/progress_display.h"

namespace marnoq::jobs {
namespace {

// "Replace all" answers every later question of the same job.
ReplaceAnswer askUnlessAll(JobView& view, const std::string& path) {
    JobState& state = view.state();
    if (state.replaceAll) {
        return ReplaceAnswer::ReplaceAll;
    }
    const ReplaceAnswer answer = view.askReplace(path);
    state.replaceAll = answer == ReplaceAnswer::ReplaceAll;
    return answer;
}

bool allowsReplacing(ReplaceAnswer answer) {
    return answer == ReplaceAnswer::Replace || answer == ReplaceAnswer::ReplaceAll;
}

void checkAbort(JobView& view) {
    if (view.state().abortRequested) {
        throw JobAborted{};
    }
}

}  // namespace

void JobRun::Events::showMessage(const std::string& text) {
    view_.messageBox(text, MessageIcon::None, "");
}

void JobRun::Events::letEventsRun() {
    view_.letEventsRun();
    checkAbort(view_);
}

void JobRun::Events::Progress(const float& Percent) {
    bb_Progress(view_, Percent);
    checkAbort(view_);
}

JobRun::JobRun(JobView& view, StartButton button, FileList list, std::int16_t jobMode)
    : view_(view),
      button_(button),
      list_(list),
      jobMode_(jobMode),
      last_(view.entryCount(list) - 1),
      events_(view),
      cipher_(&events_) {
    view_.state().busy = true;
}

JobRun::~JobRun() {
    view_.state().busy = false;
    wipeStackBelow();
}

void JobRun::start(const KeyBytes& key) {
    view_.setPointer(MousePointer::Hourglass);
    view_.showStatus();
    cipher_.SetCipherKey(key.bytes, 256);
    timer_.ResetTimer();
    JobState& state = view_.state();
    state.JobMode = jobMode_;
    if (last_ > 0) {
        view_.setCaption(button_, kCancelCaption);
    }
    (button_ == StartButton::Encrypt ? state.CancelEncrypt : state.CancelDecrypt) = false;
    state.replaceAll = false;
}

std::string JobRun::selectFile(int index) {
    view_.selectEntry(list_, index);
    current_ = view_.entry(list_, index);
    return current_;
}

void JobRun::leaveIfClosing() {
    view_.letEventsRun();
    checkAbort(view_);
}

bool JobRun::mayReplace(const std::string& path) {
    const ReplaceAnswer answer = askUnlessAll(view_, path);
    if (answer == ReplaceAnswer::Cancel) {
        JobState& state = view_.state();
        (button_ == StartButton::Encrypt ? state.CancelEncrypt : state.CancelDecrypt) = true;
    }
    return allowsReplacing(answer);
}

// The view outlives the job's frame where the output is named later, with others.
std::function<bool()> JobRun::askIfAppeared(const std::string& path) {
    return [&view = view_, path] { return allowsReplacing(askUnlessAll(view, path)); };
}

bool JobRun::cancelRequested() {
    // Between files too, so that closing the program never waits for the rest of the list.
    leaveIfClosing();
    const JobState& state = view_.state();
    return button_ == StartButton::Encrypt ? state.CancelEncrypt : state.CancelDecrypt;
}

void JobRun::appendTime(const std::string& label) {
    timer_.StopTimer();
    view_.setStatusText(view_.statusText() + jobTimeText(label, timer_.Elapsed()));
    restoreRest(MousePointer::Arrow);
}

void JobRun::restoreRest(MousePointer pointer) {
    view_.setPointer(pointer);
    view_.setCaption(button_, button_ == StartButton::Encrypt ? kEncryptCaption : kDecryptCaption);
}

void JobRun::message(const std::string& text) {
    view_.messageBox(text, MessageIcon::Exclamation, kJobTitle);
}

void JobRun::errorExit(JobReport& report, const std::string& text) {
    restoreRest(MousePointer::Arrow);
    report.files.push_back({current_, FileOutcome::Failed});
    message(text);
}

void JobRun::guarded(JobReport& report, const std::function<void()>& loop) {
    report.started = true;
    try {
        loop();
    } catch (const JobAborted&) {
        restoreRest(MousePointer::Arrow);
        report.aborted = true;
    } catch (const io::FileError& error) {
        errorExit(report, fileErrorMessage(error));
    } catch (const JobFailure& failure) {
        errorExit(report, failure.what());
    } catch (const std::exception& error) {
        errorExit(report, std::string("Unerwarteter Fehler bei der Datei:") + kCrLf + current_ +
                              kCrLf + error.what());
    }
}

void refuseInput(JobView& view, JobReport& report, const char* text) {
    view.messageBox(text, MessageIcon::Exclamation, kJobTitle);
    report.inputError = true;
}

void refuseInput(JobView& view, JobReport& report, const char* text, Control focus) {
    refuseInput(view, report, text);
    view.setFocus(focus);
}

}  // namespace marnoq::jobs
