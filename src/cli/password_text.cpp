#include "cli/password_text.h"

#include "cli/terminal_text.h"
#include "jobs/windows1252.h"

namespace marnoq::cli {
namespace {

enum class Encoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Undecided };

Encoding encodingOf(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        return Encoding::Utf16LittleEndian;
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return Encoding::Utf16BigEndian;
    }
    return bytes.starts_with("\xEF\xBB\xBF") ? Encoding::Utf8 : Encoding::Undecided;
}

char32_t unitAt(std::string_view bytes, std::size_t at, Encoding encoding) {
    const auto low = static_cast<unsigned char>(bytes[at]);
    const auto high = static_cast<unsigned char>(bytes[at + 1]);
    return encoding == Encoding::Utf16LittleEndian ? (high << 8 | low) : (low << 8 | high);
}

// The line's bytes without its end: LF, CR LF, or a lone CR as old editors wrote it.
std::string_view firstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

bool holdsFirstLine(std::string_view bytes) {
    const Encoding encoding = encodingOf(bytes);
    if (encoding == Encoding::Utf16LittleEndian || encoding == Encoding::Utf16BigEndian) {
        return bytes.size() >= 4 && bytes.size() % 2 == 0 &&
               unitAt(bytes, bytes.size() - 2, encoding) == U'\n';
    }
    return bytes.ends_with('\n');
}

void appendFirstLine(std::string_view bytes, std::string& out) {
    const Encoding encoding = encodingOf(bytes);
    if (encoding == Encoding::Utf8 || encoding == Encoding::Undecided) {
        const std::string_view line = firstLine(bytes.substr(encoding == Encoding::Utf8 ? 3 : 0));
        if (encoding == Encoding::Utf8 || validUtf8(line)) {
            out.append(line);
            return;
        }
        for (const char c : line) {
            out += jobs::fromWindows1252(std::string_view(&c, 1));  // short: no heap copy
        }
        return;
    }
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
        const char32_t unit = unitAt(bytes, at, encoding);
        if (unit == U'\n' || unit == U'\r') {
            break;
        }
        // Half of a pair: no such character can be in a password, and the check says so.
        jobs::appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? U'\uFFFD' : unit);
    }
}

}  // namespace marnoq::cli
