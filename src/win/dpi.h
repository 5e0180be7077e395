#pragma once

#include <windows.h>

#include "window_model/window_layout.h"

namespace marnoq::win {

// Windows 10 version 1607 brought the per-monitor DPI calls the window needs. They are looked
// up at run time, so that an older system gets a German message at start instead of the
// loader's entry-point error; false there.
bool systemSupported();
UINT windowDpi(HWND window);

// The layout is in twips (1/1440 inch) and the fonts in points; the screen's DPI turns both
// into pixels, so the window keeps its size in inches on every monitor.
int twipsToPixels(int twips, UINT dpi);
HFONT createFont(const window_model::FontFace& font, UINT dpi, double pointsLess = 0);
HICON loadIcon(HINSTANCE instance, int resource, int size, UINT dpi);
COLORREF colour(window_model::Rgb rgb);
// The window's outer size for a client area of the given twips.
SIZE windowSizeFor(int widthTwips, int heightTwips, DWORD style, UINT dpi);
// Moves the window to the middle of its screen, or of the screen's free area.
void centreOnScreen(HWND window, bool workArea);

}  // namespace marnoq::win
