#pragma once

// What both windows' layout tables are made of: one row per control, with its place in twips,
// its caption, its font and the command it gives, and one look-up by name.

#include <cstddef>
#include <string_view>

namespace form {

// What a control or a menu entry of the main window does when the user chooses it. Front ends
// dispatch on this, never on a caption or a name, and hand every command to MainForm::run().
enum class Command {
    None,   // shows something, or reports its own kind of event (value box, flag boxes)
    Go,     // split the value box's value into flags
    Cancel, // end the program
    Exit,   // end the program (File > Exit)
    Fwo,    // explain the [FWO] marker
    About,  // open the About window
    Count,  // how many there are: a front end's ids run from None to here
};

// Whether `number` is one of the window's commands (None and Count are not): a front end maps
// the ids its controls give back through this, so that no number outside the enum gets in.
template <typename CommandT> constexpr bool isCommand(int number)
{
    return number > static_cast<int>(CommandT::None) && number < static_cast<int>(CommandT::Count);
}

enum class Kind {
    Label,        // fixed size, one line
    AutoLabel,    // sized to its text, one line
    WrapLabel,    // keeps its width, height follows the wrapped text
    CentredLabel, // keeps its place; lines wrapped, centred and clipped to it
    Button,
    TextBox,
    Popup, // the detail popup: keeps the place it is given, wraps and clips
    Picture,
};

// The windows' fonts: every control uses the window's font but the value box.
enum class Font { Window, ValueBox };

struct FontSpec
{
    std::string_view face;
    double points;
};

constexpr FontSpec fontSpec(Font font)
{
    return { "MS Sans Serif", font == Font::ValueBox ? 9.75 : 8.25 };
}

// One control of a window's table; each window has its own kind of command.
template <typename CommandT> struct ControlOf
{
    std::string_view name;
    Kind kind;
    std::string_view caption;
    int left, top, width, height;
    int tab; // tab index as stored with the window
    CommandT command;
    Font font;
};
using Control = ControlOf<Command>;

// Reached only by a name no table holds: a constant expression with such a name does not
// compile, and at run time the program stops here rather than use another control's row.
[[noreturn]] void noSuchControl(std::string_view name);

template <typename Row, std::size_t N>
constexpr const Row &find(const Row (&table)[N], std::string_view name)
{
    for (const Row &c : table) {
        if (c.name == name)
            return c;
    }
    noSuchControl(name);
}

} // namespace form
