#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace marnoq {

// Overwrites memory with zeros in a way the optimiser may not drop, for keys and passwords.
void secureWipe(void* data, std::size_t length);

inline void secureWipe(std::string& text) {
    secureWipe(text.data(), text.size());
    text.clear();
}

template <typename T, std::size_t N>
void secureWipe(std::span<T, N> items) {
    secureWipe(items.data(), items.size_bytes());
}

// A string for secrets that wipes itself when it goes.
class SecretString {
public:
    SecretString() = default;
    explicit SecretString(std::string text) : text_(std::move(text)) {}
    SecretString(const SecretString& other) : text_(other.text_) {}
    SecretString& operator=(const SecretString& other) {
        if (this != &other) {
            secureWipe(text_);
            text_ = other.text_;
        }
        return *this;
    }
    ~SecretString() { secureWipe(text_); }

    const std::string& str() const { return text_; }
    std::string& str() { return text_; }

private:
    std::string text_;
};

}  // namespace marnoq
