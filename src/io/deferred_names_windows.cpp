#include "io/deferred_names.h"

namespace marnoq::io {

DeferredNames::DeferredNames() : capacity_(0) {}

// A rename written through costs a flush anyway: every file is made durable on its own.
bool DeferredNames::takes(std::uint64_t) const {
    return false;
}

void DeferredNames::flushFileSystems(std::vector<TemporaryOutput*>&, std::vector<FileError>&) {}

}  // namespace marnoq::io
