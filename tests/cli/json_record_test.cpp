#include "cli/json_record.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace marnoq::cli {
namespace {

// What a viewer could obey or reorder is escaped; a name that is no UTF-8 keeps its exact
// bytes beside the readable text, so two different names never give the same record.
TEST(JsonLine, ControlsAreEscapedAndBrokenNamesKeepTheirBytes) {
    // The name, as it stands in the line, and its path_hex (empty when there is none).
    const struct {
        std::string name, written, hex;
    } cases[] = {
        {"März\r\nFertig.", "März\\r\\nFertig.", ""},
        {"a\x7f\xc2\x85\xc2\x9b", "a\\u007f\\u0085\\u009b", ""},
        {"\xe2\x80\xaegpj.exe", "\\u202egpj.exe", ""},  // right-to-left override
        {"\xe2\x81\xa6\xe2\x81\xa9\xe2\x80\x8e\xe2\x80\x8f\xd8\x9c",
         "\\u2066\\u2069\\u200e\\u200f\\u061c", ""},
        {"\xe2\x80\x8b\xe2\x80\xa8\xef\xbb\xbf", "\\u200b\\u2028\\ufeff", ""},  // hidden
        {"\xe2\x80\x94\xc2\xa0", "\xe2\x80\x94\xc2\xa0", ""},                   // dash, NBSP: text
        {"x\xff", "x\xef\xbf\xbd", "78ff"},
        {"x\xfe", "x\xef\xbf\xbd", "78fe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        jobs::JobReport::File record{c.name, jobs::FileOutcome::Done};
        record.output = c.name + ".aes";
        const std::string line = jsonLine(record);
        EXPECT_NE(line.find("\"path\":\"" + c.written + "\""), std::string::npos) << line;
        const auto json = nlohmann::json::parse(line);
        if (c.hex.empty()) {
            EXPECT_EQ(json["path"], c.name);
            EXPECT_FALSE(json.contains("path_hex") || json.contains("output_hex"));
        } else {
            EXPECT_EQ(json["path_hex"], c.hex);
            EXPECT_EQ(json["output_hex"], c.hex + "2e616573");
        }
    }
}

}  // namespace
}  // namespace marnoq::cli
