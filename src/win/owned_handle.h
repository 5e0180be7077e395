#pragma once

#include <windows.h>

namespace marnoq::win {

// Owns a system handle (font, brush, icon) and releases it with the owner.
template <typename Handle, auto Release>
class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    ~OwnedHandle() { reset(); }

    Handle get() const { return handle_; }
    void reset() {
        if (handle_ != nullptr) {
            Release(handle_);
            handle_ = nullptr;
        }
    }

  private:
    Handle handle_ = nullptr;
};

using OwnedFont = OwnedHandle<HFONT, DeleteObject>;
using OwnedPen = OwnedHandle<HPEN, DeleteObject>;
using OwnedBrush = OwnedHandle<HBRUSH, DeleteObject>;
using OwnedIcon = OwnedHandle<HICON, DestroyIcon>;

}  // namespace marnoq::win
