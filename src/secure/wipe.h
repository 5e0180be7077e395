#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "secure/memory_lock.h"

namespace marnoq {

// Overwrites memory with zeros in a way the optimiser may not drop, for keys and passwords.
void secureWipe(void* data, std::size_t length);

// Zeroes the stack below the caller, where finished calls may have left copies of secrets in
// spilled registers and locals.
void wipeStackBelow();

// Zeroes the vector registers, which the cipher leaves holding round keys: the dynamic linker,
// a signal or a new thread would otherwise copy them into memory.
void clearVectorRegisters();

inline void secureWipe(std::string& text) {
    secureWipe(text.data(), text.size());
    text.clear();
}

template <typename T, std::size_t N>
void secureWipe(std::span<T, N> items) {
    secureWipe(items.data(), items.size_bytes());
}

// A string for secrets, kept out of swap where the system allows, that wipes itself when it goes.
class SecretString {
  public:
    SecretString() = default;
    explicit SecretString(std::string text) : text_(std::move(text)) { lock(); }
    SecretString(const SecretString& other) : text_(other.text_) { lock(); }
    SecretString& operator=(const SecretString& other) {
        if (this != &other) {
            release();
            text_ = other.text_;
            lock();
        }
        return *this;
    }
    ~SecretString() { release(); }

    const std::string& str() const { return text_; }
    std::string& str() { return text_; }

  private:
    void lock() { lockInMemory(text_.data(), text_.capacity()); }
    // The whole buffer: bytes past the end may still hold an earlier, longer text.
    void release() {
        text_.resize(text_.capacity());
        secureWipe(text_);
    }

    std::string text_;
};

}  // namespace marnoq
