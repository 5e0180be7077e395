#pragma once

#include <string>

#include "jobs/job_report.h"

namespace marnoq::cli {

// One line of --json output: the file's record as a JSON object.
std::string jsonLine(const jobs::JobReport::File& record);

}  // namespace marnoq::cli
