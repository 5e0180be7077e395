#include "jobs/password_input.h"

#include "jobs/job_run.h"
#include "jobs/messages.h"
#include "jobs/windows1252.h"

namespace marnoq::jobs {

std::optional<SecretString> passwordFor(JobView& view, JobReport& report, int box,
                                        const std::string& utf8) {
    auto converted = toWindows1252(utf8);
    if (!converted) {
        refuseInput(view, report, text::kPasswordCharacters, static_cast<Control>(box));
        return std::nullopt;
    }
    return SecretString(std::move(*converted));
}

}  // namespace marnoq::jobs
