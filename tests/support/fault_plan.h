#pragma once

#include <atomic>
#include <string>

#include "io/fault_injection.h"

namespace marnoq::test {

// Fails the n-th operation of one kind (counting from 1) with the given errno. With n = 0 it
// only counts, so a test can learn how many there are.
class FaultPlan : public io::FaultInjector {
  public:
    FaultPlan(io::FileOperation operation, int nth, int code)
        : operation_(operation), nth_(nth), code_(code) {
        io::setFaultInjector(this);
    }
    ~FaultPlan() override { io::setFaultInjector(nullptr); }
    int failureFor(io::FileOperation operation, const std::string&) override {
        if (operation != operation_) {
            return 0;
        }
        return ++count_ == nth_ ? code_ : 0;
    }
    int count() const { return count_; }

  private:
    io::FileOperation operation_;
    int nth_;
    int code_;
    std::atomic<int> count_{0};
};

}  // namespace marnoq::test
