#include <cerrno>
#include <utility>

#include "io/fault_injection.h"
#include "io/temporary_output.h"
#include "io/windows_file_api.h"
#include "io/windows_text.h"

namespace marnoq::io {
namespace {

constexpr int kNameAttempts = 100;
constexpr std::size_t kLongestName = 255;

std::string folderOf(const std::string& destination) {
    const auto slash = destination.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : destination.substr(0, slash + 1);
}

// While pending, the system deletes the file when its last handle closes, also after a crash.
bool setDeletePending(HANDLE handle, bool pending) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = pending ? TRUE : FALSE;
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                        sizeof disposition) != 0;
}

}  // namespace

TemporaryOutput::TemporaryOutput(std::string destination, mode_t mode)
    : destination_(std::move(destination)) {
    checkInjectedFault(FileOperation::Create, destination_);
    leaf_ = destination_.substr(folderOf(destination_).size());
    // A name the folder cannot hold is refused now, not after the whole file was written.
    if (toUtf16(leaf_).size() > kLongestName) {
        throwFileError(FileOperation::Create, destination_, ENAMETOOLONG);
    }
    replacing_ = ::GetFileAttributesW(longPath(destination_).c_str()) != INVALID_FILE_ATTRIBUTES;
    openNamed(mode);
}

TemporaryOutput::TemporaryOutput(const FileLocation& destination, mode_t mode)
    : TemporaryOutput(destination.path(), mode) {}

TemporaryOutput::TemporaryOutput(TemporaryOutput&& other) noexcept
    : destination_(std::move(other.destination_)),
      leaf_(std::move(other.leaf_)),
      name_(std::move(other.name_)),
      file_(std::move(other.file_)),
      replacing_(other.replacing_),
      replaceAppeared_(std::move(other.replaceAppeared_)),
      done_(std::exchange(other.done_, true)) {}

void TemporaryOutput::openNamed(mode_t mode) {
    CreationSecurity security(mode);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = randomName();
        // Sharing delete lets the finished file be renamed while this handle still holds it.
        HANDLE handle =
            ::CreateFileW(longPath(folderOf(destination_) + name).c_str(), GENERIC_WRITE | DELETE,
                          FILE_SHARE_READ | FILE_SHARE_DELETE, security.attributes(), CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            name_ = std::move(name);
            setDeletePending(handle, true);
            file_.emplace(destination_, adoptHandle(handle));
            return;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            throwFileError(FileOperation::Create, destination_, lastErrno());
        }
    }
    throwFileError(FileOperation::Create, destination_, EEXIST);
}

TemporaryOutput::~TemporaryOutput() {
    discard();
}

// Each file is made durable on its own here: the write-through rename costs as much as a flush.
void TemporaryOutput::commit(const std::function<void()>& lastCheck, DeferredNames*) {
    file_->sync();
    if (lastCheck) {
        lastCheck();
    }
    checkInjectedFault(FileOperation::Rename, destination_);
    nameSynced();
}

namespace {

bool inUse(const std::wstring& path) {
    HANDLE probe =
        ::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_SHARING_VIOLATION;
    }
    ::CloseHandle(probe);
    return false;
}

}  // namespace

void TemporaryOutput::nameSynced() {
    const std::wstring target = longPath(destination_);
    const std::wstring source = longPath(folderOf(destination_) + name_);
    HANDLE handle = handleOf(file_->descriptor());
    if (!setDeletePending(handle, false)) {
        throwFileError(FileOperation::Rename, destination_, lastErrno());
    }
    // Until a name is given, a failure leaves the file to be deleted with its handle.
    auto fail = [&](FileOperation operation, int code) {
        setDeletePending(handle, true);
        throwFileError(operation, destination_, code);
    };
    // A new name replaces nothing that took it meanwhile, unless that is allowed.
    if (!replacing_) {
        if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0) {
            done_ = true;
            file_->close();
            return;
        }
        const DWORD refused = ::GetLastError();
        if (refused != ERROR_ALREADY_EXISTS && refused != ERROR_FILE_EXISTS) {
            fail(FileOperation::Create, errnoFromWindows(refused));
        }
        if (!(replaceAppeared_ && replaceAppeared_())) {
            fail(FileOperation::Create, kAppearedMeanwhile);
        }
    }
    // A read-only, hidden or system file is replaced all the same, as a normal one.
    if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    if (::MoveFileExW(source.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        const int code = lastErrno();
        // Replacing a file another program holds open is refused as a denied access; the
        // user needs to hear that the file is in use, not that the medium is read-only.
        fail(FileOperation::Rename, code == EACCES && inUse(target) ? EBUSY : code);
    }
    done_ = true;
    file_->close();
}

void TemporaryOutput::discard() {
    if (done_) {
        return;
    }
    done_ = true;
    file_.reset();
    // Only where the file system ignored the pending deletion is there still something here.
    if (!name_.empty()) {
        ::DeleteFileW(longPath(folderOf(destination_) + name_).c_str());
    }
}

}  // namespace marnoq::io
