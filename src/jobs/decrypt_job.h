#pragma once

#include "jobs/job_report.h"
#include "jobs/job_view.h"

namespace marnoq::jobs {

enum class DecryptTarget {
    WriteFiles,  // the decrypted files are written beside the encrypted ones
    VerifyOnly,  // signature, password and checksum are checked; nothing is written
};

// The click on cmdDec: decrypts every file of List2, or asks the running job to stop.
JobReport cmdDec_Click(JobView& view, DecryptTarget target = DecryptTarget::WriteFiles);

}  // namespace marnoq::jobs
