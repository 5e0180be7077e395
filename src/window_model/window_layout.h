#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace marnoq::window_model {

enum class ControlKind {
    Label,
    Button,
    PictureButton,
    OptionButton,
    TextBox,
    PasswordBox,
    FileList,
    Picture,  // decorative icon
    Panel,
    Frame,  // rectangle outline
    Line,
    TextArea,
};

enum class FontRole { Control, List, Title, Small, InfoText };
enum class Alignment { Left, Right, Centre };

struct FontFace {
    std::string_view family;
    double pointSize;
    bool bold;
};
FontFace fontOf(FontRole role);
// The main window's own font, in which the product measures texts.
FontFace windowFont();

struct Rgb {
    std::uint8_t red, green, blue;
};
inline constexpr Rgb kOlive{128, 128, 0};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kInfoBackground{64, 64, 64};
inline constexpr Rgb kInfoPanel{128, 128, 128};
inline constexpr Rgb kInfoPaper{253, 255, 230};
inline constexpr Rgb kInfoInk{0, 0, 192};

// One control, its box in twips from the top left of the window's client area (also for a
// control lying on another one).
struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    int left, top, width, height;
    std::string_view text;
    std::string_view toolTip;
    std::string_view accessibleName;  // empty: the text names the control, also as it changes
    FontRole font;
    Alignment alignment;
    std::string_view parent;            // the control it lies on; empty: the window
    std::string_view description = {};  // for screen readers; empty: the tooltip
};

// What a screen reader says of the control beyond its name.
std::string_view descriptionOf(const ControlLayout& control);

struct WindowLayout {
    std::string_view caption;
    int width, height;  // client area, twips
    std::span<const ControlLayout> controls;

    const ControlLayout& control(std::string_view name) const;
};

const WindowLayout& mainWindowLayout();
const WindowLayout& infoWindowLayout();

// The keyboard's way through the main window: one half after the other, the picture buttons
// last. The focus sink "dummy" is no stop.
std::span<const std::string_view> mainTabOrder();

// A box too narrow for its text grows rather than cutting it: a right-aligned box to the left,
// a centred one to both sides, any other to the right. Units are the caller's.
struct Box {
    int left, top, width, height;
    bool operator==(const Box&) const = default;
};
Box grownToFit(Box box, Alignment alignment, int neededWidth);

// The share of its size at which a window fits the free area of its screen, 1 when it fits as
// it is: a larger window shrinks, layout and fonts alike, so its title bar and every control
// stay reachable. Sizes are the window's outer ones, all in one unit.
double fittingScale(int windowWidth, int windowHeight, int screenWidth, int screenHeight);

}  // namespace marnoq::window_model
