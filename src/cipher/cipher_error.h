#pragma once

#include <stdexcept>
#include <string>

namespace marnoq {

// A wrong argument to the cipher: number 1 and a text "class.operation - reason".
class CipherError : public std::runtime_error {
public:
    explicit CipherError(const std::string& message, int number = 1)
        : std::runtime_error(message), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

}  // namespace marnoq
