#pragma once

#include <windows.h>

#include <string_view>

namespace marnoq::win {

// Child window ids; 1 and 2 stay free for the Return and Escape commands.
enum ControlId : int {
    Label1 = 100,
    Label2,
    Label3,
    Label4_0,
    Label4_1,
    Label4_2,
    Label5,
    Label6,
    List1,
    List2,
    Text3_0,
    Text3_1,
    Text3_2,
    txtSuffix,
    cmdEnc,
    cmdDec,
    Command1,
    Command2,
    Command3,
    Command4,
    Command5,
    Command6,
    Befehl2,
    Option1_0,
    Option1_1,
    dummy,
    Image1_0,
    Image1_1,
    Picture1,
    Picture2,
    NoWindow,  // drawn by the window itself: the frames and the line
};

// The Win32 side of a control of the shared layout: its id and, for pictures, the icon.
ControlId controlId(std::string_view name);
int iconOf(std::string_view name);  // resource id, 0 for none

}  // namespace marnoq::win
