#include "jobs/progress_display.h"

#include <string>

#include "jobs/number_text.h"

namespace marnoq::jobs {

void bb_Progress(JobView& view, float Percent) {
    view.state().filePercent = Percent;
    const std::int16_t mode = view.state().JobMode;
    if (mode == 1 || mode == 2) {
        const FileList list = mode == 1 ? FileList::Encrypt : FileList::Decrypt;
        view.setStatusText("File: " + std::to_string(view.selectedIndex(list) + 1) + " von " +
                           std::to_string(view.entryCount(list)) +
                           ",  File bearbeitet: " + percentDigits(Percent) + " %");
    }
    view.letEventsRun();
}

}  // namespace marnoq::jobs
