#pragma once

// The windows' fonts: MS Sans Serif, as designed, at 8.25 points for the windows and 9.75 for
// the value box.

#include "win32/raii.h"

#include <windows.h>

namespace win32 {

constexpr int WindowPoints = 825; // hundredths of a point
constexpr int ValueBoxPoints = 975;

// Sized for a dpi as Windows sizes fonts: by the character height in pixels, rounded (8.25
// points are 11 pixels at 96 dpi).
inline Font windowFont(int hundredthPoints, int dpi)
{
    return Font(CreateFontW(-MulDiv(hundredthPoints, dpi, 72 * 100), 0, 0, 0, FW_NORMAL, FALSE,
        FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
}

} // namespace win32
