#pragma once

#include <functional>
#include <string>

#include "jobs/job_report.h"
#include "jobs/job_view.h"

namespace marnoq::jobs {

// Runs a job once per file of a list, each file on its own worker thread with its own reader
// and writer, at most `workers` files at a time. What the view sees stays in list order: the
// status line, each file's messages, the report. A file whose job ends the whole job (a foreign
// file, a wrong password, a refused input, a file error) lets the files already running
// finish but starts no further one and shows nothing after its own messages, as a job that
// works through the list one file at a time would. At most `workers` files run at once; a few
// more per worker wait, queued or finished, until the oldest one not yet shown is shown.
class ParallelFileRunner {
  public:
    using Job = std::function<JobReport(JobView& oneFile)>;

    // `closing` tells the workers at once that the program is ending (the view is polled only
    // now and then); it must be safe to call from any thread.
    ParallelFileRunner(JobView& view, FileList list, int workers,
                       std::function<bool()> closing = {});
    // `timeLabel` as the jobs append it (" , EncryptTime: ").
    JobReport run(const Job& job, const std::string& timeLabel);

  private:
    JobView& view_;
    FileList list_;
    int workers_;
    std::function<bool()> closing_;
};

}  // namespace marnoq::jobs
