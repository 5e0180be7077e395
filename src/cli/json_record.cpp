#include "cli/json_record.h"

#include <nlohmann/json.hpp>

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
        case jobs::FileOutcome::ChecksumMismatch:
            return "checksum_mismatch";
        case jobs::FileOutcome::Failed:
            return "failed";
    }
    return "failed";
}

}  // namespace

std::string jsonLine(const jobs::JobReport::File& record) {
    nlohmann::ordered_json json;
    json["path"] = record.path;
    json["outcome"] = outcomeName(record.outcome);
    json["stored_crc"] = record.storedCrc;
    json["computed_crc"] = record.computedCrc;
    json["body_length"] = record.bodyLength;
    json["output"] = record.output;
    json["error"] = withNewlines(record.error);
    // Names are bytes from the file system, not always UTF-8: replace what is not.
    return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace marnoq::cli
