#pragma once

// The form's texts are plain 7-bit; Windows takes UTF-16.

#include <string>
#include <string_view>

namespace win32 {

inline std::wstring widen(std::string_view text)
{
    return std::wstring(text.begin(), text.end());
}

// Characters outside 7-bit ASCII become '?', which the form reads as no digit, as it would
// read the character itself.
inline std::string narrow(std::wstring_view text)
{
    std::string result;
    result.reserve(text.size());
    for (wchar_t c : text)
        result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return result;
}

} // namespace win32
