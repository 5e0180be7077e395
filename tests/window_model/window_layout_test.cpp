#include "window_model/window_layout.h"

#include <gtest/gtest.h>

#include <set>

#include "window_model/info_text.h"

namespace marnoq::window_model {
namespace {

TEST(WindowLayout, GrowsTooNarrowBoxesAwayFromTheirAlignment) {
    const std::tuple<Alignment, int, Box> cases[] = {
        {Alignment::Right, 40, {100, 5, 50, 13}}, {Alignment::Right, 80, {70, 5, 80, 13}},
        {Alignment::Left, 80, {100, 5, 80, 13}},  {Alignment::Centre, 80, {85, 5, 80, 13}},
        {Alignment::Left, 50, {100, 5, 50, 13}},
    };
    for (const auto& [alignment, needed, expected] : cases) {
        EXPECT_EQ(grownToFit({100, 5, 50, 13}, alignment, needed), expected) << needed;
    }
}

TEST(WindowLayout, NamesAreUniqueAndEveryReferenceResolves) {
    for (const WindowLayout* window : {&mainWindowLayout(), &infoWindowLayout()}) {
        std::set<std::string_view> names;
        for (const auto& control : window->controls) {
            EXPECT_TRUE(names.insert(control.name).second) << control.name;
            if (!control.parent.empty()) {
                EXPECT_NO_THROW(window->control(control.parent)) << control.name;
            }
        }
    }
    std::set<std::string_view> stops;
    for (const std::string_view name : mainTabOrder()) {
        EXPECT_NO_THROW(mainWindowLayout().control(name)) << name;
        EXPECT_TRUE(stops.insert(name).second) << name;
    }
    EXPECT_EQ(stops.count("dummy"), 0u);
}

TEST(WindowLayout, AWindowLargerThanItsScreenShrinksToFit) {
    const std::tuple<int, int, int, int, double> cases[] = {
        {524, 630, 1920, 1040, 1.0},              // fits: stays as laid out
        {1048, 1260, 1920, 1040, 1040.0 / 1260},  // 200 %: the height decides
        {1048, 600, 800, 1040, 800.0 / 1048},     // a narrow screen: the width decides
        {524, 630, 0, 0, 1.0},                    // no screen known
    };
    for (const auto& [width, height, screenWidth, screenHeight, scale] : cases) {
        EXPECT_DOUBLE_EQ(fittingScale(width, height, screenWidth, screenHeight), scale) << width;
    }
}

TEST(InfoText, LinesEndInCarriageReturnLineFeedAndTheVersionIsDecimal) {
    const std::string text = infoExplanationText();
    std::size_t breaks = 0;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        ASSERT_EQ(text[at - 1], '\r');
        ++breaks;
    }
    EXPECT_EQ(breaks, 12u);
    EXPECT_NE(text.find("Entschlüsselte Datei:\tsample-dec.txt   oder ohne Suffix:   sample.txt"),
              std::string::npos);
    EXPECT_EQ(versionText(2, 10), "Version: 2.10");
}

}  // namespace
}  // namespace marnoq::window_model
