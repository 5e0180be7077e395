#include "cli/cli_view.h"

#include "secure/wipe.h"

namespace marnoq::cli {
namespace {

std::string withNewlines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out += text[i];
    }
    return out;
}

}  // namespace

CliView::CliView(std::FILE* err, bool interactive, const volatile std::sig_atomic_t* stopSignal)
    : err_(err), interactive_(interactive), stopSignal_(stopSignal) {}

CliView::~CliView() {
    for (auto& password : passwords_) {
        secureWipe(password);
    }
}

void CliView::setFiles(jobs::FileList list, std::vector<std::string> files) {
    list_ = list;
    files_ = std::move(files);
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

int CliView::selectedIndex(jobs::FileList list) const { return list == list_ ? selected_ : -1; }

void CliView::selectEntry(jobs::FileList, int index) { selected_ = index; }

std::string CliView::passwordText(int box) const { return passwords_[box]; }

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
    std::fprintf(err_, "\r%s\033[K", status_.c_str());
    std::fflush(err_);
    lineOpen_ = true;
}

void CliView::finishStatus() {
    if (lineOpen_) {
        std::fputc('\r', err_);
        std::fputs("\033[K", err_);
        lineOpen_ = false;
    }
    if (!status_.empty()) {
        std::fprintf(err_, "%s\n", status_.c_str());
    }
}

void CliView::messageBox(const std::string& text, jobs::MessageIcon, const std::string&) {
    if (lineOpen_) {
        std::fputs("\r\033[K", err_);
        lineOpen_ = false;
    }
    std::fprintf(err_, "%s\n", withNewlines(text).c_str());
    std::fflush(err_);
}

void CliView::letEventsRun() {
    if (stopSignal_ != nullptr && *stopSignal_ != 0) {
        state_.abortRequested = true;
    }
}

}  // namespace marnoq::cli
