#include "window_model/command_line_split.h"

#include <gtest/gtest.h>

#include "window_model/horizontal_extent.h"

namespace marnoq::window_model {
namespace {

using Items = std::vector<std::string>;

TEST(CommandLineSplit, ItemsGoToTheListTheirExtensionChooses) {
    const auto files =
        sortCommandLine({"/d/b.txt", "rel/X.AES", "", "/d/../e/y.aes", "/d/z"}, "/home/anna");
    EXPECT_EQ(files.encrypt, (Items{"/d/b.txt", "/d/z"}));
    EXPECT_EQ(files.decrypt, (Items{"/home/anna/rel/X.AES", "/d/../e/y.aes"}));
}

TEST(CommandLineSplit, OptionsComeFirstAndTwoDashesEndThem) {
    using R = WindowArguments::Request;
    const std::tuple<Items, R, Items, std::string> cases[] = {
        {{"/a/x.txt", "b.aes"}, R::Open, {"/a/x.txt", "b.aes"}, ""},
        {{"--help", "/a/x.txt"}, R::Help, {}, ""},
        {{"/a/x.txt", "-h"}, R::Help, {"/a/x.txt"}, ""},
        {{"--version"}, R::Version, {}, ""},
        {{"--", "-platform", "--help", "-"}, R::Open, {"-platform", "--help", "-"}, ""},
        {{"-", "/a"}, R::Open, {"-", "/a"}, ""},  // a lone dash is a name
        {{"-platform", "offscreen"}, R::UnknownOption, {}, "-platform"},
    };
    for (const auto& [items, request, files, unknown] : cases) {
        const auto arguments = windowArguments(items);
        EXPECT_EQ(arguments.request, request) << items.front();
        EXPECT_EQ(arguments.files, files) << items.front();
        EXPECT_EQ(arguments.unknownOption, unknown) << items.front();
    }
    EXPECT_NE(windowHelpText("aes-marnoq").find("--version"), std::string::npos);
}

TEST(HorizontalExtent, MeasuresTheFirstLongestEntryWithTwentyFiveBlanks) {
    const std::pair<Items, std::string> cases[] = {
        {{"ab", "xyz", "äöü", "cd"}, "xyz"},  // umlauts count as one character each
        {{"ab", "äöüß"}, "äöüß"},
        {{}, ""},
    };
    for (const auto& [entries, longest] : cases) {
        std::string measured;
        const int extent = horizontalExtent(entries, [&measured](const std::string& text) {
            measured = text;
            return 7;
        });
        EXPECT_EQ(extent, 7);
        EXPECT_EQ(measured, longest + std::string(25, ' '));
    }
}

}  // namespace
}  // namespace marnoq::window_model
