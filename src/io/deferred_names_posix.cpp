#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "io/deferred_names.h"
#include "io/fault_injection.h"

namespace marnoq::io {

// A quarter of the descriptors the process may open, so that waiting outputs never starve the
// jobs of theirs.
DeferredNames::DeferredNames() {
    rlimit limit{};
    const rlim_t open = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 ? limit.rlim_cur : 1024;
    capacity_ = static_cast<std::size_t>(std::clamp<rlim_t>(open / 4, 1, 256));
}

bool DeferredNames::takes(std::uint64_t size) const {
    return size <= kLargestFile;
}

void DeferredNames::flushFileSystems(std::vector<TemporaryOutput*>& outputs,
                                     std::vector<FileError>& failures) {
    std::map<dev_t, int> outcome;  // the error number of each file system's flush
    std::erase_if(outputs, [&](TemporaryOutput* output) {
        const int fd = output->file().descriptor();
        struct stat info {};
        int code = ::fstat(fd, &info) == 0 ? 0 : errno;
        if (code == 0) {
            auto [flush, first] = outcome.try_emplace(info.st_dev, 0);
            if (first) {
                try {
                    checkInjectedFault(FileOperation::Sync, output->destination());
                    flush->second = ::syncfs(fd) == 0 ? 0 : errno;
                } catch (const FileError& error) {
                    flush->second = error.code();
                }
            }
            code = flush->second;
        }
        if (code != 0) {
            failures.emplace_back(FileOperation::Sync, output->destination(), code);
        }
        return code != 0;
    });
}

}  // namespace marnoq::io
