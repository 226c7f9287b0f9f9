#pragma once

// The form's and the model's texts are Latin-1 byte strings; the Qt windows show them through
// this one conversion.

#include <QString>

#include <string_view>

inline QString toQString(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
