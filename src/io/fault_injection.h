#pragma once

#include <string>

#include "io/file_error.h"

namespace marnoq::io {

// Lets tests make the k-th file operation fail, so every error path is walked for real.
class FaultInjector {
public:
    virtual ~FaultInjector() = default;
    // Returns an errno value to fail the operation with, or 0 to let it run.
    virtual int failureFor(FileOperation operation, const std::string& path) = 0;
};

// Installs the injector for the whole process (nullptr removes it). Tests only.
void setFaultInjector(FaultInjector* injector);

// Throws the injected failure, if any, for this operation.
void checkInjectedFault(FileOperation operation, const std::string& path);

}  // namespace marnoq::io
