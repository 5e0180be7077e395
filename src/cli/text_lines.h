#pragma once

#include <string>

namespace marnoq::cli {

// The jobs join lines with CR LF, as the window's boxes want; a terminal and JSON want LF.
inline std::string withNewlines(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

}  // namespace marnoq::cli
