#include "win32/window_count.h"

#include <windows.h>

namespace win32 {

void WindowCount::closed()
{
    if (--s_open == 0)
        PostQuitMessage(0);
}

} // namespace win32
