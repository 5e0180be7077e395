#include "cli/json_record.h"

#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/terminal_text.h"
#include "cli/text_lines.h"

namespace marnoq::cli {
namespace {

const char* outcomeName(jobs::FileOutcome outcome) {
    switch (outcome) {
        case jobs::FileOutcome::Done:
            return "done";
        case jobs::FileOutcome::Skipped:
            return "skipped";
        case jobs::FileOutcome::Foreign:
            return "foreign";
        case jobs::FileOutcome::WrongPassword:
            return "wrong_password";
        case jobs::FileOutcome::SizeError:
            return "size_error";
        case jobs::FileOutcome::NotReplaced:
            return "not_replaced";
        case jobs::FileOutcome::ChecksumMismatch:
            return "checksum_mismatch";
        case jobs::FileOutcome::Failed:
            return "failed";
    }
    return "failed";
}

// The exact bytes of a name that is no valid UTF-8: its text field shows U+FFFD for them, so
// two different names could otherwise give the same record.
void addExactBytes(nlohmann::ordered_json& json, const char* key, const std::string& name) {
    if (validUtf8(name)) {
        return;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kHex[byte >> 4];
        hex += kHex[byte & 15];
    }
    json[key] = hex;
}

// Controls a viewer might obey (DEL, C1) or that reorder the shown text (bidi marks and
// overrides), written as \u escapes. The library escapes C0 itself; these bytes stand only
// inside strings, as keys and numbers are ASCII.
std::string escapeControls(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const auto next = i + 1 < line.size() ? static_cast<unsigned char>(line[i + 1]) : 0u;
        const auto third = i + 2 < line.size() ? static_cast<unsigned char>(line[i + 2]) : 0u;
        std::uint32_t code = 0;
        std::size_t length = 0;
        if (byte == 0x7F) {
            code = byte;
            length = 1;
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            code = next;
            length = 2;
        } else if (byte == 0xD8 && next == 0x9C) {
            code = 0x061C;
            length = 2;
        } else if (byte == 0xE2 && ((next == 0x80 && (third == 0x8E || third == 0x8F ||
                                                      (third >= 0xAA && third <= 0xAE))) ||
                                    (next == 0x81 && third >= 0xA6 && third <= 0xA9))) {
            code = 0x2000u + ((next & 0x3Fu) << 6) + (third & 0x3Fu);
            length = 3;
        }
        if (length == 0) {
            out += line[i++];
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
        out += escaped;
        i += length;
    }
    return out;
}

}  // namespace

std::string jsonLine(const jobs::JobReport::File& record) {
    nlohmann::ordered_json json;
    json["path"] = record.path;
    addExactBytes(json, "path_hex", record.path);
    json["outcome"] = outcomeName(record.outcome);
    json["stored_crc"] = record.storedCrc;
    json["computed_crc"] = record.computedCrc;
    json["body_length"] = record.bodyLength;
    json["output"] = record.output;
    addExactBytes(json, "output_hex", record.output);
    json["error"] = withNewlines(record.error);
    // Names are bytes from the file system, not always UTF-8: replace what is not.
    return escapeControls(json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)) +
           "\n";
}

}  // namespace marnoq::cli
