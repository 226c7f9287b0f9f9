#pragma once

// The rows of behaviour.rows, read for the drivers written in C++ (the form's own test and the
// Qt window's). The table is compiled in (behaviour_rows.h), so that the tests also run where
// the source tree cannot be reached (under Wine, under node).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace behaviour {

struct Action
{
    std::string verb; // click, doubleclick, rightclick, type, key, menu, copy, paste, insert
    std::string text; // its argument, repetitions expanded (but a key's)
    int times = 1;    // a key pressed KEY*N times
};

struct Row
{
    std::string name;
    std::vector<Action> actions;
    std::string value;
    std::vector<int> ticked; // ascending
    std::string clipboard;
    bool goEnabled;
    std::string focus; // a control's name, or * for any
    bool limitMessage;
    int popup; // the flag whose explanation shows, or one of these:
};
constexpr int NoPopup = -1, FwoPopup = -2;

// The text the clipboard holds when a row starts.
inline const std::string StartClipboard = "start";

inline std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

inline std::vector<std::string_view> split(std::string_view s, std::string_view separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const std::size_t next = s.find(separator, at);
        parts.push_back(trimmed(s.substr(at, next - at)));
        if (next == std::string_view::npos)
            return parts;
        at = next + separator.size();
    }
}

// TEXT*N repeats TEXT N times; (empty) is the empty text.
inline std::string expanded(std::string_view text)
{
    if (text == "(empty)")
        return {};
    const auto star = text.rfind('*');
    if (star == std::string_view::npos || star + 1 == text.size())
        return std::string(text);
    std::string out;
    for (int n = std::stoi(std::string(text.substr(star + 1))); n > 0; --n)
        out += text.substr(0, star);
    return out;
}

inline std::vector<Row> parse(std::string_view table, int flagCount)
{
    std::vector<Row> rows;
    for (std::string_view line : split(table, "\n")) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::vector<std::string_view> cell = split(line, "|");
        const std::string_view popup = cell.at(8);
        Row row { std::string(cell.at(0)), {}, expanded(cell.at(2)), {}, expanded(cell.at(4)),
            cell.at(5) == "on", std::string(cell.at(6)), cell.at(7) == "limit",
            popup == "none"      ? NoPopup
                : popup == "fwo" ? FwoPopup
                                 : std::stoi(std::string(popup)) };
        for (std::string_view action : split(cell.at(1), "\xc2\xb7")) { // the middle dot
            const auto space = action.find(' ');
            const std::string_view verb = action.substr(0, space);
            std::string_view text
                = space == std::string_view::npos ? std::string_view() : action.substr(space + 1);
            int times = 1;
            const auto star = text.rfind('*');
            if (verb == "key" && star != std::string_view::npos) {
                times = std::stoi(std::string(text.substr(star + 1)));
                text = text.substr(0, star);
            }
            row.actions.push_back({ std::string(verb), expanded(text), times });
        }
        if (cell.at(3) == "all") {
            for (int i = 0; i < flagCount; ++i)
                row.ticked.push_back(i);
        } else if (cell.at(3) != "none") {
            for (std::string_view index : split(cell.at(3), " "))
                row.ticked.push_back(std::stoi(std::string(index)));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace behaviour
