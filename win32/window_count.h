#pragma once

// The program runs while any of its windows is open: the main window and the About window
// each count themselves in on creation and out on destruction, and the last one out ends the
// message loop with exit code 0.

namespace win32 {

class WindowCount
{
public:
    static void opened() { ++s_open; }
    static void closed();

private:
    static inline int s_open = 0;
};

} // namespace win32
