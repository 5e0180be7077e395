#pragma once

#include "jobs/job_view.h"

namespace marnoq::jobs {

// The status line for a Progress event: "File: i von n,  File bearbeitet: P %" for the running
// job's list, then a chance for pending events to run.
void bb_Progress(JobView& view, float Percent);

}  // namespace marnoq::jobs
