#pragma once

// The windows' fonts, as the tables give them (form::fontSpec).

#include "form/control_table.h"
#include "win32/raii.h"
#include "win32/wide_text.h"

#include <windows.h>

namespace win32 {

// Sized for a dpi as Windows sizes fonts: by the character height in pixels, rounded (8.25
// points are 11 pixels at 96 dpi).
inline Font windowFont(form::Font font, int dpi)
{
    const form::FontSpec design = form::fontSpec(font);
    const int hundredthPoints = static_cast<int>(design.points * 100 + 0.5);
    return Font(CreateFontW(-MulDiv(hundredthPoints, dpi, 72 * 100), 0, 0, 0, FW_NORMAL, FALSE,
        FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        DEFAULT_PITCH | FF_SWISS, widen(design.face).c_str()));
}

} // namespace win32
