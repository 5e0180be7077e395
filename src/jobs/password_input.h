#pragma once

#include <optional>

#include "jobs/job_report.h"
#include "jobs/job_view.h"
#include "secure/wipe.h"

namespace marnoq::jobs {

// The password of box Text3(box) in Windows-1252, or nullopt after telling the user that it
// holds a character the format cannot store (the focus goes to the box).
std::optional<SecretString> passwordFor(JobView& view, JobReport& report, int box,
                                        const std::string& utf8);

}  // namespace marnoq::jobs
