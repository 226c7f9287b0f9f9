#pragma once

// Text colours chosen by contrast, as the Qt windows choose theirs: the colour the design asks
// for where it reads on the background (WCAG's 4.5:1), else the system's own text colour for
// that background, else black or white (form/contrast.h).

#include "form/contrast.h"

#include <windows.h>

namespace win32 {

inline COLORREF legibleText(COLORREF wanted, COLORREF fallback, COLORREF background)
{
    const auto rgb = [](COLORREF c) {
        return contrast::Rgb { GetRValue(c), GetGValue(c), GetBValue(c) };
    };
    const contrast::Rgb chosen = contrast::legibleText(rgb(wanted), rgb(fallback), rgb(background));
    return RGB(chosen.red, chosen.green, chosen.blue);
}

} // namespace win32
