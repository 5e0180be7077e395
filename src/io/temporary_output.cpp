#include "io/temporary_output.h"

#include <random>

namespace marnoq::io {

std::string TemporaryOutput::randomName() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string name = kMarker;
    while (name.size() < kNameLength) {
        name += kLetters[device() % (sizeof kLetters - 1)];
    }
    return name;
}

}  // namespace marnoq::io
