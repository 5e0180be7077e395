#include "io/file_location.h"

namespace marnoq::io {
namespace {

std::string lastPart(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

// The Windows file layer opens by full path; its walk leaves out reparse points instead.
void refuseLinksBeneath(const std::string&, UniqueFd,
                        std::unordered_map<std::string, FolderIdentity>) {}

FileLocation FileLocation::of(const std::string& path) {
    FileLocation location;
    location.path_ = path;
    location.name_ = lastPart(path);
    return location;
}

FileLocation FileLocation::sibling(const std::string& path) const {
    return of(path);
}

}  // namespace marnoq::io
