#include "jobs/output_target.h"

#include <cerrno>

#include "io/file_error.h"
#include "io/file_system.h"
#include "jobs/job_run.h"
#include "jobs/messages.h"

namespace marnoq::jobs {

bool checkOutputTarget(const std::string& path) {
    if (!io::exists(path)) {
        return false;  // the usual case, settled with one look
    }
    if (io::isDirectory(path)) {
        io::throwFileError(io::FileOperation::Create, path, EISDIR);
    }
    if (!io::isRegularFile(path)) {
        throw JobFailure(specialOutputMessage(path));
    }
    return true;
}

}  // namespace marnoq::jobs
