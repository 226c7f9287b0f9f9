#pragma once

// An entry point of a library loaded at run time, typed as the function's declaration. The
// program imports only the libraries it always needs: taking the address of the declared
// function instead would import its library, and load it at every start.

#include <windows.h>

namespace win32 {

// Null where the library or the function is missing.
template <typename Function> Function *entry(HMODULE library, const char *name)
{
    // void (*)() converts to and from any function pointer without a warning.
    return reinterpret_cast<Function *>(
        reinterpret_cast<void (*)()>(library ? GetProcAddress(library, name) : nullptr));
}

} // namespace win32
