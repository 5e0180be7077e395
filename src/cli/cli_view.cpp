#include "cli/cli_view.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "cli/console.h"
#include "cli/terminal_text.h"
#include "io/utf8_path.h"
#include "secure/wipe.h"

namespace marnoq::cli {

namespace {

// "1,5" with a decimal comma, as the status line writes its numbers.
std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string result = text;
    std::replace(result.begin(), result.end(), '.', ',');
    return result;
}

std::string timeLeft(double seconds) {
    const long whole = std::lround(seconds);
    char text[32];
    if (whole < 60) {
        std::snprintf(text, sizeof text, "%ld s", whole);
    } else {
        std::snprintf(text, sizeof text, "%ld min %02ld s", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

CliView::CliView(std::FILE* err, bool interactive, bool quiet, const StopFlag* stopSignal)
    : err_(err), interactive_(interactive && !quiet), quiet_(quiet), stopSignal_(stopSignal) {}

CliView::~CliView() {
    for (auto& password : passwords_) {
        secureWipe(password);
    }
}

void CliView::setFiles(jobs::FileList list, std::vector<std::string> files) {
    list_ = list;
    files_ = std::move(files);
    filesHoldCr_ = std::any_of(files_.begin(), files_.end(), holdsCr);
    sizes_.clear();
    totalBytes_ = 0;
    // Only the status line on a terminal shows totals; elsewhere the sizes are not worth a
    // look at every file.
    if (interactive_) {
        for (const auto& file : files_) {
            std::error_code unknown;
            std::uint64_t size = std::filesystem::file_size(io::utf8Path(file), unknown);
            if (unknown) {
                size = 0;
            }
            sizes_.push_back(size);
            totalBytes_ += size;
        }
    }
    started_ = std::chrono::steady_clock::now();
}

void CliView::setPasswords(const std::string& first, const std::string& repeat) {
    const int box = list_ == jobs::FileList::Encrypt ? 0 : 2;
    passwords_[box] = first;
    passwords_[1] = repeat;
}

void CliView::setNaming(bool suffixMode, const std::string& suffix) {
    suffixMode_ = suffixMode;
    suffix_ = suffix;
}

int CliView::entryCount(jobs::FileList list) const {
    return list == list_ ? static_cast<int>(files_.size()) : 0;
}

std::string CliView::entry(jobs::FileList, int index) const {
    return files_.at(static_cast<std::size_t>(index));
}

int CliView::selectedIndex(jobs::FileList list) const {
    return list == list_ ? selected_ : -1;
}

void CliView::selectEntry(jobs::FileList, int index) {
    selected_ = index;
}

std::string CliView::passwordText(int box) const {
    return passwords_[box];
}

std::string CliView::caption(jobs::StartButton button) const {
    return captions_[static_cast<int>(button)];
}

void CliView::setCaption(jobs::StartButton button, const std::string& text) {
    captions_[static_cast<int>(button)] = text;
}

void CliView::setStatusText(const std::string& text) {
    status_ = text;
    redraw(false);
}

void CliView::redraw(bool force) {
    if (!interactive_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastDraw_ < std::chrono::milliseconds(100)) {
        return;
    }
    lastDraw_ = now;
    // A line that wraps could not be drawn over again: a narrow console gets it shortened.
    const std::string line =
        fittedToColumns(terminalText(status_) + totals(now), terminalColumns(err_));
    std::fprintf(err_, "\r%s\033[K", line.c_str());
    std::fflush(err_);
    lineOpen_ = true;
}

std::string CliView::totals(std::chrono::steady_clock::time_point now) const {
    if (selected_ < 0 || totalBytes_ == 0) {
        return {};
    }
    double done = 0;
    for (int i = 0; i < selected_; ++i) {
        done += static_cast<double>(sizes_[static_cast<std::size_t>(i)]);
    }
    const float percent = state_.filePercent < 0.0f ? 0.0f : state_.filePercent;
    done += static_cast<double>(sizes_[static_cast<std::size_t>(selected_)]) * percent / 100.0;
    const double seconds = std::chrono::duration<double>(now - started_).count();
    const double mib = 1024.0 * 1024.0;
    std::string text = "  |  " + oneDecimal(done / mib) + " von " +
                       oneDecimal(static_cast<double>(totalBytes_) / mib) + " MiB";
    if (seconds > 0.5 && done > 0) {
        const double rate = done / seconds;
        text += ", " + oneDecimal(rate / mib) + " MiB/s, noch " +
                timeLeft((static_cast<double>(totalBytes_) - done) / rate);
    }
    return text;
}

void CliView::finishStatus() {
    if (quiet_) {
        return;
    }
    if (lineOpen_) {
        std::fputc('\r', err_);
        std::fputs("\033[K", err_);
        lineOpen_ = false;
    }
    if (!status_.empty()) {
        std::fprintf(err_, "%s\n", terminalText(status_).c_str());
    }
}

void CliView::messageBox(const std::string& text, jobs::MessageIcon, const std::string&) {
    if (lineOpen_) {
        std::fputs("\r\033[K", err_);
        lineOpen_ = false;
    }
    // Every name in a message comes from the list, the output or the suffix, or is made of them.
    const bool namesHoldCr = filesHoldCr_ || holdsCr(output_) || holdsCr(suffix_);
    std::fprintf(err_, "%s\n", terminalMessage(text, namesHoldCr).c_str());
    std::fflush(err_);
}

void CliView::letEventsRun() {
    if (stopSignal_ != nullptr && stopSignal_->load() != 0) {
        state_.abortRequested = true;
    }
}

}  // namespace marnoq::cli
