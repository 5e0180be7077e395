#pragma once

#include <windows.h>

#include "window_model/window_layout.h"

namespace marnoq::win {

// Widens a label whose text does not fit in its own font, so no text of the window is cut.
void growToFit(HWND label, window_model::Alignment alignment);

// The font at its size, or one step smaller when the widest text of the window would not fit
// its box at that size (the stand-ins some systems offer for the small bitmap fonts run wider).
HFONT createFittingFont(const window_model::FontFace& font, UINT dpi, HWND widestLabel);

}  // namespace marnoq::win
