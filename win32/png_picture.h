#pragma once

// The About picture is kept in the program as the PNG file it is drawn as, a third of its size
// as a bitmap. GDI+, a part of Windows, decodes it; it is loaded only when the About window
// opens, so that the program's start does not wait for it.

#include "win32/raii.h"

#include <windows.h>

namespace win32 {

// Decodes the PNG in RCDATA resource `id` into a bitmap; empty where it cannot.
Bitmap loadPngResource(HINSTANCE instance, int id);

} // namespace win32
