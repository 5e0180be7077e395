#include "jobs/output_target.h"

#include <cerrno>

#include "io/file_error.h"
#include "io/file_system.h"
#include "jobs/job_run.h"
#include "jobs/messages.h"

namespace marnoq::jobs {

bool checkOutputTarget(const io::FileLocation& where) {
    switch (io::entryKind(where)) {
        case io::EntryKind::None:
            return false;
        case io::EntryKind::Folder:
            io::throwFileError(io::FileOperation::Create, where.path(), EISDIR);
        case io::EntryKind::RegularFile:
            return true;
        case io::EntryKind::Other:
            break;
    }
    throw JobFailure(specialOutputMessage(where.path()));
}

}  // namespace marnoq::jobs
