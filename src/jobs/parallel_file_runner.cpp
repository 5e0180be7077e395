#include "jobs/parallel_file_runner.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "digest/clsTimer.h"
#include "io/deferred_names.h"
#include "jobs/file_slot_view.h"
#include "jobs/messages.h"
#include "jobs/number_text.h"
#include "jobs/progress_display.h"

namespace marnoq::jobs {
namespace {

// Files queued ahead per worker: a worker done with a small file takes the next at once
// instead of waiting until this thread has shown the oldest one.
constexpr int kQueuedPerWorker = 4;

struct Slot {
    int index;
    std::unique_ptr<FileSlotView> view;
    JobReport report;
    bool done = false;
};

bool endsTheJob(const JobReport& report) {
    if (report.inputError || report.aborted) {
        return true;
    }
    return std::any_of(report.files.begin(), report.files.end(), [](const JobReport::File& file) {
        return file.outcome == FileOutcome::Foreign || file.outcome == FileOutcome::WrongPassword ||
               file.outcome == FileOutcome::Failed;
    });
}

// Worker threads that take slots in the order they are queued and run the job on each. A slot
// starts only within `count` places of the oldest one still running, so a slow file that ends
// the job is followed by no more files than one at a time plus `count` - 1 would start.
class Workers {
  public:
    // A thread the system refuses (a process limit) leaves fewer workers; with none at all the
    // files run one after another on the caller's thread.
    Workers(int count, const ParallelFileRunner::Job& job) : job_(job), count_(count) {
        try {
            for (int i = 0; i < count; ++i) {
                threads_.emplace_back([this] { work(); });
            }
        } catch (const std::system_error&) {
        }
    }
    int started() const { return static_cast<int>(threads_.size()); }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    ~Workers() {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        queued_.notify_all();
        for (auto& thread : threads_) {
            thread.join();
        }
    }

    void queue(Slot& slot) {
        if (threads_.empty()) {
            if (slot.index < firstEnding_) {
                slot.report = runGuarded(*slot.view);
                if (endsTheJob(slot.report)) {
                    firstEnding_ = slot.index;
                }
            }
            slot.done = true;
            return;
        }
        {
            std::lock_guard lock(mutex_);
            pending_.push_back(&slot);
        }
        queued_.notify_one();
    }

    // Waits up to `period` for the slot; true once its job has ended.
    bool waitFor(const Slot& slot, std::chrono::milliseconds period) {
        std::unique_lock lock(mutex_);
        return finished_.wait_for(lock, period, [&] { return slot.done; });
    }

    Slot* firstRunning(std::deque<Slot>& window) {
        std::lock_guard lock(mutex_);
        const auto found =
            std::find_if(window.begin(), window.end(), [](const Slot& slot) { return !slot.done; });
        return found == window.end() ? nullptr : &*found;
    }

  private:
    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            queued_.wait(lock, [this] { return (closing_ && pending_.empty()) || nextMayStart(); });
            if (pending_.empty()) {
                return;  // closing: queued slots have all been taken, none is left behind
            }
            Slot* slot = pending_.front();
            pending_.pop_front();
            // After a file that ends the job no later file starts; this one stays unreported.
            if (slot->index < firstEnding_) {
                running_.insert(slot->index);
                lock.unlock();
                slot->report = runGuarded(*slot->view);
                lock.lock();
                running_.erase(slot->index);
                if (endsTheJob(slot->report)) {
                    firstEnding_ = std::min(firstEnding_, slot->index);
                }
            }
            slot->done = true;
            // Woken after the unlock, the runner need not queue for the mutex at once; workers
            // held back by this slot may go on (no call when none waits).
            lock.unlock();
            finished_.notify_one();
            queued_.notify_all();
            lock.lock();
        }
    }

    bool nextMayStart() const {
        return !pending_.empty() &&
               (running_.empty() || pending_.front()->index < *running_.begin() + count_);
    }

    // The jobs catch what a file can throw; anything else ends only this file, not the program.
    JobReport runGuarded(FileSlotView& view) {
        try {
            return job_(view);
        } catch (const std::exception& error) {
            JobReport report;
            report.started = true;
            report.files.push_back({view.entry(FileList::Encrypt, 0), FileOutcome::Failed});
            view.messageBox(error.what(), MessageIcon::Exclamation, kJobTitle);
            return report;
        }
    }

    const ParallelFileRunner::Job& job_;
    std::mutex mutex_;
    // Apart, so that a file taken wakes one worker and a file finished wakes only the runner.
    std::condition_variable queued_;
    std::condition_variable finished_;
    std::deque<Slot*> pending_;
    std::set<int> running_;
    std::vector<std::thread> threads_;
    const int count_;
    int firstEnding_ = std::numeric_limits<int>::max();
    bool closing_ = false;
};

bool holdsAnOutputOf(const io::DeferredNames& names, const Slot& slot) {
    return std::any_of(slot.report.files.begin(), slot.report.files.end(),
                       [&](const JobReport::File& file) {
                           return !file.output.empty() && names.holds(file.output);
                       });
}

// A file whose output could not be named after all failed, though its job ended well.
void nameWaitingOutputs(io::DeferredNames& names, std::deque<Slot>& window) {
    for (const auto& failure : names.settle()) {
        for (auto& slot : window) {
            for (auto& file : slot.report.files) {
                if (file.output == failure.path() && file.outcome != FileOutcome::Failed) {
                    file.outcome = FileOutcome::Failed;
                    slot.view->messageBox(fileErrorMessage(failure), MessageIcon::Exclamation,
                                          kJobTitle);
                }
            }
        }
    }
}

std::string fewerWorkersNote(int wanted, int started) {
    return "Hinweis: Das System hat nur " + std::to_string(started) + " von " +
           std::to_string(wanted) + " Threads zugelassen; " +
           (started == 0 ? std::string("die Dateien werden nacheinander bearbeitet.")
                         : "es werden höchstens " + std::to_string(started) +
                               " Dateien gleichzeitig bearbeitet.");
}

}  // namespace

ParallelFileRunner::ParallelFileRunner(JobView& view, FileList list, int workers,
                                       std::function<bool()> closing)
    : view_(view), list_(list), workers_(std::max(1, workers)), closing_(std::move(closing)) {}

JobReport ParallelFileRunner::run(const Job& job, const std::string& timeLabel) {
    JobReport report;
    const int count = view_.entryCount(list_);
    std::atomic<bool> stop{false};
    std::deque<Slot> window;
    clsTimer timer;
    timer.ResetTimer();
    view_.state().JobMode = list_ == FileList::Encrypt ? 1 : 2;
    bool ended = false;
    io::DeferredNames names;
    {
        const int wanted = std::min(workers_, std::max(count, 1));
        Workers workers(wanted, job);
        if (workers.started() < wanted) {
            view_.messageBox(fewerWorkersNote(wanted, workers.started()), MessageIcon::None,
                             kJobTitle);
        }
        int next = 0;
        // A file waits to be shown until its output is named, which it is together with the
        // outputs of the files behind it. The window holds two groups of them besides, so the
        // workers fill the next group while this thread names the last one.
        const auto windowSize =
            static_cast<std::size_t>(workers_ * kQueuedPerWorker) + 2 * names.capacity();
        while (true) {
            if (view_.state().abortRequested && !ended && next < count) {
                stop = true;
                ended = true;
                report.aborted = true;
            }
            while (!ended && next < count && window.size() < windowSize) {
                Slot& slot = window.emplace_back(Slot{next, nullptr, {}});
                slot.view = std::make_unique<FileSlotView>(view_, list_, view_.entry(list_, next),
                                                           stop, &names, closing_);
                workers.queue(slot);
                ++next;
            }
            if (window.empty()) {
                break;
            }
            Slot& oldest = window.front();
            Slot* running = workers.firstRunning(window);
            const bool waitsForItsName = running != &oldest && holdsAnOutputOf(names, oldest);
            // A finished file whose output waits for its name is shown once the group of
            // waiting outputs is full or no file behind it runs any more.
            if (running == &oldest || (waitsForItsName && running != nullptr && !names.full())) {
                if (!workers.waitFor(*running, std::chrono::milliseconds(100))) {
                    view_.selectEntry(list_, running->index);
                    if (running->view->percent() >= 0.0f) {
                        bb_Progress(view_, running->view->percent());
                    } else {
                        view_.letEventsRun();
                    }
                    if (view_.state().abortRequested) {
                        stop = true;
                    }
                }
                continue;
            }
            if (waitsForItsName) {
                nameWaitingOutputs(names, window);
            }
            if (!ended) {
                view_.selectEntry(list_, oldest.index);
                if (oldest.view->percent() >= 0.0f) {
                    bb_Progress(view_, oldest.view->percent());
                }
                std::string shownText;
                for (const auto& shown : oldest.view->shown()) {
                    view_.messageBox(shown.text, shown.icon, shown.title);
                    shownText += (shownText.empty() ? "" : kCrLf) + shown.text;
                }
                for (const auto& file : oldest.report.files) {
                    report.files.push_back(file);
                    report.files.back().error = shownText;
                    report.started = true;
                    const bool completed = file.outcome == FileOutcome::Done ||
                                           file.outcome == FileOutcome::ChecksumMismatch ||
                                           file.outcome == FileOutcome::SizeError;
                    if (list_ == FileList::Decrypt && completed) {
                        view_.setStatusText(text::kDecryptDone);
                    }
                }
                report.inputError = report.inputError || oldest.report.inputError;
                report.aborted = report.aborted || oldest.report.aborted;
                ended = endsTheJob(oldest.report);
            } else {
                // Written before it saw the end, even if the stop came right after: reported,
                // though not shown. A file the stop caught midway has no record.
                report.files.insert(report.files.end(), oldest.report.files.begin(),
                                    oldest.report.files.end());
            }
            window.pop_front();
        }
    }
    if (!ended) {
        timer.StopTimer();
        view_.setStatusText(view_.statusText() + jobTimeText(timeLabel, timer.Elapsed()));
    }
    return report;
}

}  // namespace marnoq::jobs
