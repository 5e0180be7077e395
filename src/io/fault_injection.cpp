#include "io/fault_injection.h"

#include <atomic>

namespace marnoq::io {
namespace {
std::atomic<FaultInjector*> installed{nullptr};
}

void setFaultInjector(FaultInjector* injector) { installed.store(injector); }

void checkInjectedFault(FileOperation operation, const std::string& path) {
    FaultInjector* injector = installed.load(std::memory_order_relaxed);
    if (injector == nullptr) {
        return;
    }
    if (int code = injector->failureFor(operation, path); code != 0) {
        throwFileError(operation, path, code);
    }
}

}  // namespace marnoq::io
