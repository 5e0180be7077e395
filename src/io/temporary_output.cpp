#include "io/temporary_output.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "io/fault_injection.h"
#include "io/file_system.h"

namespace marnoq::io {
namespace {

std::string temporaryTemplate(const std::string& destination) {
    auto slash = destination.rfind('/');
    std::string folder = slash == std::string::npos ? "" : destination.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
    return folder + "." + name + TemporaryOutput::kMarker + "XXXXXX";
}

mode_t currentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

TemporaryOutput::TemporaryOutput(std::string destination, mode_t mode)
    : destination_(std::move(destination)) {
    checkInjectedFault(FileOperation::Create, destination_);
    std::string name = temporaryTemplate(destination_);
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    UniqueFd fd(::mkostemp(buffer.data(), O_CLOEXEC));
    if (!fd.valid()) {
        throwFileError(FileOperation::Create, destination_, errno);
    }
    path_.assign(buffer.data());
    // Errors name the destination: that is the file the user asked for.
    file_.emplace(destination_, std::move(fd));
    try {
        file_->setMode(mode & 07777 & ~currentUmask());
    } catch (...) {
        discard();
        throw;
    }
}

TemporaryOutput::~TemporaryOutput() { discard(); }

void TemporaryOutput::commit() {
    if (exists(destination_)) {
        file_->sync();
    }
    file_->close();
    checkInjectedFault(FileOperation::Rename, destination_);
    if (std::rename(path_.c_str(), destination_.c_str()) != 0) {
        throwFileError(FileOperation::Rename, destination_, errno);
    }
    done_ = true;
}

void TemporaryOutput::discard() {
    if (done_) {
        return;
    }
    done_ = true;
    file_.reset();
    ::unlink(path_.c_str());
}

}  // namespace marnoq::io
