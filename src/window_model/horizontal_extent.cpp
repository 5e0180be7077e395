#include "window_model/horizontal_extent.h"

#include <algorithm>

namespace marnoq::window_model {
namespace {

std::size_t characters(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

int horizontalExtent(const std::vector<std::string>& entries,
                     const std::function<int(const std::string&)>& textWidth) {
    const std::string* longest = nullptr;
    std::size_t longestLength = 0;
    for (const std::string& entry : entries) {
        const std::size_t length = characters(entry);
        if (longest == nullptr || length > longestLength) {
            longest = &entry;
            longestLength = length;
        }
    }
    return textWidth((longest != nullptr ? *longest : std::string()) + std::string(25, ' '));
}

}  // namespace marnoq::window_model
