#include "jobs/file_slot_view.h"

#include "jobs/messages.h"

namespace marnoq::jobs {

FileSlotView::FileSlotView(JobView& settings, FileList list, std::string file,
                           const std::atomic<bool>& stop, io::DeferredNames* names,
                           std::function<bool()> closing)
    : owner_(settings),
      list_(list),
      file_(std::move(file)),
      passwords_{SecretString(settings.passwordText(0)), SecretString(settings.passwordText(1)),
                 SecretString(settings.passwordText(2))},
      suffix_(settings.suffixText()),
      suffixMode_(settings.suffixOptionSelected()),
      output_(settings.outputPath()),
      stop_(stop),
      names_(names),
      closing_(std::move(closing)) {}

std::string FileSlotView::caption(StartButton button) const {
    return button == StartButton::Encrypt ? kEncryptCaption : kDecryptCaption;
}

void FileSlotView::setStatusText(const std::string& text) {
    status_ = text;
    if (state_.filePercent >= 0.0f) {
        percent_.store(state_.filePercent, std::memory_order_relaxed);
    }
}

void FileSlotView::letEventsRun() {
    if (stop_.load(std::memory_order_relaxed) || (closing_ && closing_())) {
        state_.abortRequested = true;
    }
}

}  // namespace marnoq::jobs
