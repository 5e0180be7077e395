#include "cli/terminal_text.h"

#include <cstdint>
#include <cstdio>

namespace marnoq::cli {
namespace {

void appendEscaped(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    switch (byte) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
    }
}

}  // namespace

std::size_t utf8Sequence(std::string_view text, std::uint32_t& code) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    std::uint32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    code = value;
    return overlong || surrogate || value > 0x10FFFF ? 0 : length;
}

bool hiddenOrReordering(std::uint32_t code) {
    return code == 0x061C || (code >= 0x200B && code <= 0x200F) ||
           (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069) ||
           code == 0xFEFF;
}

std::string terminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            appendEscaped(out, byte);
            ++i;
        } else if (byte < 0x80) {
            out += text[i++];
        } else if (std::uint32_t code = 0, length = utf8Sequence(text.substr(i), code);
                   length > 0 && hiddenOrReordering(code)) {
            char escaped[12];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
            out += escaped;
            i += length;
        } else if (length == 0 || (length == 2 && byte == 0xC2 &&
                                   static_cast<unsigned char>(text[i + 1]) < 0xA0)) {
            // Invalid bytes one by one; a C1 control (U+0080 to U+009F) as both of its bytes.
            const std::size_t count = length == 0 ? 1 : 2;
            for (std::size_t k = 0; k < count; ++k) {
                appendEscaped(out, static_cast<unsigned char>(text[i + k]));
            }
            i += count;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string terminalMessage(std::string_view message, bool namesHoldCr) {
    if (namesHoldCr) {
        return terminalText(message);
    }
    std::string out;
    for (std::size_t end; (end = message.find("\r\n")) != std::string_view::npos;) {
        out += terminalText(message.substr(0, end)) + '\n';
        message.remove_prefix(end + 2);
    }
    return out + terminalText(message);
}

bool validUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
        } else if (std::uint32_t code = 0, length = utf8Sequence(text.substr(i), code);
                   length > 0) {
            i += length;
        } else {
            return false;
        }
    }
    return true;
}

std::string fittedToColumns(const std::string& line, int columns) {
    if (columns <= 1) {
        return line;
    }
    const auto room = static_cast<std::size_t>(columns - 1);
    std::size_t characters = 0;
    std::size_t cut = 0;  // where the text ends that leaves a column for "…"
    for (std::size_t i = 0; i < line.size(); ++characters) {
        if (characters + 1 == room) {
            cut = i;
        }
        std::uint32_t code = 0;
        const std::size_t length = utf8Sequence(std::string_view(line).substr(i), code);
        i += length == 0 ? 1 : length;
    }
    return characters <= room ? line : line.substr(0, cut) + "…";
}

}  // namespace marnoq::cli
