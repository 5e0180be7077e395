#include "io/deferred_names.h"

#include <algorithm>

namespace marnoq::io {

bool DeferredNames::holds(const std::string& destination) const {
    std::lock_guard lock(mutex_);
    return std::any_of(waiting_.begin(), waiting_.end(), [&](const TemporaryOutput& output) {
        return output.destination() == destination;
    });
}

bool DeferredNames::full() const {
    std::lock_guard lock(mutex_);
    return waiting_.size() >= capacity_;
}

void DeferredNames::add(TemporaryOutput&& output) {
    std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(output));
}

std::vector<FileError> DeferredNames::settle() {
    std::vector<TemporaryOutput> outputs;
    {
        std::lock_guard lock(mutex_);
        outputs.swap(waiting_);
    }
    std::vector<FileError> failures;
    std::vector<TemporaryOutput*> pending;
    for (auto& output : outputs) {
        pending.push_back(&output);
    }
    flushFileSystems(pending, failures);
    std::erase_if(pending, [&](TemporaryOutput* output) {
        try {
            output->nameSynced();
            return false;
        } catch (const FileError& error) {
            failures.push_back(error);
            return true;
        }
    });
    flushFileSystems(pending, failures);
    for (auto* output : pending) {
        try {
            output->file().close();
        } catch (const FileError& error) {
            failures.push_back(error);
        }
    }
    return failures;
}

}  // namespace marnoq::io
