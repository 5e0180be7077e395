#pragma once

#include "jobs/job_report.h"
#include "jobs/job_view.h"

namespace marnoq::jobs {

// The click on cmdEnc: encrypts every file of List1 to "<name>.aes" beside it, or, while the
// button reads "Abbrechen", asks the running job to stop after the current file.
JobReport cmdEnc_Click(JobView& view);

}  // namespace marnoq::jobs
