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

// Controls a viewer might obey (DEL, C1) and characters that hide or reorder the shown text,
// written as \u escapes. The library escapes C0 itself; these bytes stand only inside strings,
// as keys and numbers are ASCII.
std::string escapeControls(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        std::uint32_t code = static_cast<unsigned char>(line[i]);
        std::size_t length = code < 0x80 ? 1 : utf8Sequence(std::string_view(line).substr(i), code);
        if (length == 0 ||
            !(code == 0x7F || (code >= 0x80 && code <= 0x9F) || hiddenOrReordering(code))) {
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
    addExactBytes(json, "stored_crc_hex", record.storedCrc);  // eight bytes from any file
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
