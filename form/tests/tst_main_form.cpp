#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "form/main_form.h"

#include "flags/flag_model.h"
#include "form/about_form_layout.h"
#include "form/main_form_layout.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

using form::Command;
using form::MainForm;

// Logs print one line each when a comparison fails.
template <> struct doctest::StringMaker<std::vector<std::string>>
{
    static String convert(const std::vector<std::string> &lines)
    {
        std::string out = "\n";
        for (const std::string &line : lines)
            out += "    " + line + "\n";
        return out.c_str();
    }
};

namespace {

// Records what the form does to the controls, one line per change, in order; holds the state a
// real window's controls would.
class RecordingView : public form::MainView
{
public:
    std::array<bool, flags::FlagCount> ticked {};
    std::string value;
    bool goEnabled = true;
    bool popupShown = false;
    twips::Rect popupPlace {};
    std::string popupText;
    std::vector<std::string> log;

    bool isTicked(int index) const override { return ticked[index]; }
    void setTicked(int index, bool on) override
    {
        ticked[index] = on;
        record((on ? "tick " : "untick ") + std::to_string(index));
    }
    std::string valueText() const override { return value; }
    void setValueText(std::string_view text) override
    {
        value = text;
        record("value " + value);
    }
    void selectValueText(int start, int length) override
    {
        record("select " + std::to_string(start) + " " + std::to_string(length));
    }
    void focusValueBox() override { record("focus value"); }
    void setGoEnabled(bool enabled) override
    {
        goEnabled = enabled;
        record(enabled ? "go on" : "go off");
    }
    void setClipboardText(std::string_view text) override { record("clip " + std::string(text)); }
    void showMessage(std::string_view title, std::string_view text) override
    {
        record("message " + std::string(title) + ": " + std::string(text));
    }
    void showPopup(std::string_view text, const twips::Rect &place) override
    {
        popupShown = true;
        popupText = text;
        popupPlace = place;
        record("popup");
    }
    void hidePopup() override
    {
        popupShown = false;
        record("hide popup");
    }
    void openAbout() override { record("about"); }
    void endProgram() override { record("end"); }

    void tickByHand(MainForm &form, int index)
    {
        ticked[index] = !ticked[index];
        form.flagClicked(index);
    }

private:
    void record(std::string line) { log.push_back(std::move(line)); }
};

struct Fixture
{
    RecordingView view;
    MainForm form { view };
    Fixture()
    {
        form.load();
        view.log.clear();
    }
};

const std::string Limit = "message Orvanunk4: " + std::string(flags::InvalidValueMessage);

std::vector<int> allFlagIndices()
{
    std::vector<int> all;
    for (int i = 0; i < flags::FlagCount; ++i)
        all.push_back(i);
    return all;
}

} // namespace

TEST_CASE("load puts a selected 0 in the value box and hides the popup, and nothing else")
{
    RecordingView view;
    MainForm form(view);
    form.load();
    CHECK(view.log == std::vector<std::string> { "value 0", "select 0 1", "hide popup" });
}

// GO's end: the focus back in the value box before GO goes off (a disabled GO with the focus
// would pass it to a flag box on the way), then the value box's text selected.
std::vector<std::string> goEnds(std::vector<std::string> log, const std::string &value)
{
    log.insert(log.end(), { "focus value", "go off", "select 0 " + std::to_string(value.size()) });
    return log;
}

// Each tick runs the flag-box step at once, before the next flag is tested.
TEST_CASE("GO ticks highest first, the running total following every tick")
{
    struct Row
    {
        std::string typed;
        std::vector<std::string> log;
        std::string shown;
    };
    const std::vector<std::string> allTicks = [] {
        std::vector<std::string> log;
        unsigned total = 0;
        for (int k = flags::FlagCount - 1; k >= 0; --k) {
            total += 1u << k;
            log.insert(log.end(),
                { "tick " + std::to_string(k), "value " + std::to_string(total),
                    "clip " + std::to_string(total) });
        }
        log.push_back(Limit);
        return log;
    }();
    const std::vector<std::string> twelve
        = { "tick 3", "value 8", "clip 8", "tick 2", "value 12", "clip 12" };
    const Row rows[] = {
        { "12", twelve, "12" },
        { "0012", twelve, "12" },
        { "1040", { "tick 10", "value 1024", "clip 1024", "tick 4", "value 1040", "clip 1040" },
            "1040" },
        // Nothing to tick: the value box keeps its text and the clipboard is left alone.
        { "0", {}, "0" },
        { "", { Limit }, "" },
        { "12a", { Limit }, "12a" },
        // Above the limit: all twenty ticks first, then the message.
        { "1048576", allTicks, "1048575" },
        { "99999999999999999999999", allTicks, "1048575" },
    };
    for (const Row &row : rows) {
        CAPTURE(row.typed);
        Fixture f;
        f.view.value = row.typed;
        f.form.run(Command::Go);
        CHECK(f.view.log == goEnds(row.log, row.shown));
        CHECK_FALSE(f.view.goEnabled);
    }
}

// GO splits the value shown, whatever boxes are ticked: a typed value as typed, a total shown
// back into the same boxes.
TEST_CASE("GO with boxes ticked keeps the value shown")
{
    struct Row
    {
        const char *name;
        std::vector<int> ticked; // by hand, before
        const char *typed;       // nullptr: GO on the total the boxes show
        std::vector<int> after;
        std::string clipboard;
        bool message;
    };
    const Row rows[] = {
        { "typed value", { 3, 0 }, "2048", { 11 }, "2048", false },
        { "shown total", { 3, 0 }, nullptr, { 0, 3 }, "9", false },
        { "above the limit", { 5 }, "1048576", {}, "1048575", true },
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        Fixture f;
        for (int i : row.ticked)
            f.view.tickByHand(f.form, i);
        if (row.typed)
            f.view.value = row.typed;
        f.view.log.clear();
        f.form.run(Command::Go);

        std::vector<int> after;
        for (int i = 0; i < flags::FlagCount; ++i)
            if (f.view.ticked[i])
                after.push_back(i);
        CHECK(after == (row.message ? allFlagIndices() : row.after));
        CHECK(f.view.value == row.clipboard);
        const auto lastClip = std::find_if(f.view.log.rbegin(), f.view.log.rend(),
            [](const std::string &line) { return line.rfind("clip ", 0) == 0; });
        REQUIRE(lastClip != f.view.log.rend());
        CHECK(*lastClip == "clip " + row.clipboard);
        CHECK((std::find(f.view.log.begin(), f.view.log.end(), Limit) != f.view.log.end())
            == row.message);
    }
}

TEST_CASE("typing or deleting in the value box turns GO back on")
{
    Fixture f;
    f.view.value = "5";
    f.form.run(Command::Go);
    REQUIRE_FALSE(f.view.goEnabled);
    f.form.valueEdited();
    CHECK(f.view.goEnabled);
}

TEST_CASE("the reset unticks in ascending order, then selects a 0 and leaves GO on")
{
    Fixture f;
    f.view.tickByHand(f.form, 3);
    f.view.tickByHand(f.form, 0);
    f.view.log.clear();
    f.form.valueClicked();
    CHECK(f.view.log
        == std::vector<std::string> { "go on", "untick 0", "value 8", "clip 8", "untick 3",
            "value 0", "clip 0", "value 0", "select 0 1" });
}

TEST_CASE("ticking by hand keeps the running total in the value box and on the clipboard")
{
    Fixture f;
    f.view.tickByHand(f.form, 3);
    f.view.tickByHand(f.form, 0);
    f.view.tickByHand(f.form, 3);
    CHECK(f.view.log
        == std::vector<std::string> {
            "value 8", "clip 8", "value 9", "clip 9", "value 1", "clip 1" });
}

// Where each flag's explanation stands, as designed: left 1440, width 4740; flags 0 to 15 hang
// down from their description (top 1680 + 240 x index), flags 16 to 19 stand up from it.
// clang-format off
constexpr int DesignedPopups[flags::FlagCount][2] = { // top, height
    { 1680,  255 }, { 1920, 1440 }, { 2160,  720 }, { 2400,  720 }, { 2640,  820 },
    { 2880,  500 }, { 3120,  480 }, { 3360,  720 }, { 3600, 1680 }, { 3840, 1250 },
    { 4080, 2265 }, { 4320, 1665 }, { 4560, 1425 }, { 4800, 1665 }, { 5040, 1275 },
    { 5280, 1275 }, { 4080, 1635 }, { 5280,  675 }, { 5160, 1035 }, { 5760,  675 },
};
// clang-format on
twips::Rect designedPopup(int index)
{
    return { 1440, DesignedPopups[index][0], 4740, DesignedPopups[index][1] };
}

TEST_CASE("the popup stands beside the description it explains")
{
    for (int i = 0; i < flags::FlagCount; ++i) {
        CAPTURE(i);
        Fixture f;
        f.form.descriptionClicked(i);
        CHECK(f.view.popupShown);
        CHECK(f.view.popupText == flags::detailText(i));
        CHECK(f.view.popupPlace == designedPopup(i));
        f.form.popupClicked();
        CHECK_FALSE(f.view.popupShown);
    }

    Fixture f;
    f.form.run(Command::Fwo);
    CHECK(f.view.popupText == flags::fwoNote());
    CHECK(f.view.popupPlace == twips::Rect { 500, 50, 4800, 500 });
}

TEST_CASE("the popup is left alone by GO, the boxes and the reset")
{
    Fixture f;
    f.form.descriptionClicked(10);
    f.view.value = "1040";
    f.form.run(Command::Go);
    f.view.tickByHand(f.form, 0);
    f.form.valueClicked();
    CHECK(f.view.popupShown);
    CHECK(f.view.popupPlace == designedPopup(10));
}

// Every command the tables carry reaches its handler: the menus and buttons of each front end
// dispatch on these ids.
TEST_CASE("each command of the tables does its own thing")
{
    struct Row
    {
        Command command;
        std::vector<std::string> log;
    };
    const Row rows[] = {
        { Command::Go, goEnds({}, "0") },
        { Command::Cancel, { "end" } },
        { Command::Exit, { "end" } },
        { Command::Fwo, { "popup" } },
        { Command::About, { "about" } },
        { Command::CloseAbout, {} }, // the About window's own
        { Command::None, {} },
    };
    for (const Row &row : rows) {
        CAPTURE(static_cast<int>(row.command));
        Fixture f;
        f.form.run(row.command);
        CHECK(f.view.log == row.log);
    }
    CHECK(layout::control("cmdGo").command == Command::Go);
    CHECK(layout::control("cmdCancel").command == Command::Cancel);
    CHECK(about_layout::control("cmdOK").command == Command::CloseAbout);
    const std::pair<const char *, Command> menus[] = { { "mnuFileExit", Command::Exit },
        { "mnuFWO", Command::Fwo }, { "mnuHelpAbout", Command::About } };
    for (const auto &[name, command] : menus) {
        CAPTURE(name);
        const auto entry = std::find_if(std::begin(layout::Menus), std::end(layout::Menus),
            [name = std::string_view(name)](const layout::MenuEntry &e) { return e.name == name; });
        REQUIRE(entry != std::end(layout::Menus));
        CHECK(entry->command == command);
    }
}

// F1 and Esc reach every flag's explanation from the keyboard, in the same place as a click.
TEST_CASE("F1 on a flag box toggles its explanation; Esc and moving on close it")
{
    for (int i = 0; i < flags::FlagCount; ++i) {
        CAPTURE(i);
        Fixture f;
        f.form.helpRequested(i);
        CHECK(f.view.popupShown);
        CHECK(f.view.popupText == flags::detailText(i));
        CHECK(f.view.popupPlace == designedPopup(i));
        f.form.helpRequested(i);
        CHECK_FALSE(f.view.popupShown);

        f.form.helpRequested(i);
        f.form.escapePressed();
        CHECK_FALSE(f.view.popupShown);

        f.form.helpRequested(i);
        f.form.focusMoved();
        CHECK_FALSE(f.view.popupShown);
    }

    Fixture f;
    f.form.helpRequested(-1); // F1 away from the flag boxes
    CHECK(f.view.log.empty());
    // A popup opened by a click stays when the focus moves, but Esc closes it.
    f.form.descriptionClicked(4);
    f.form.focusMoved();
    CHECK(f.view.popupShown);
    f.form.escapePressed();
    CHECK_FALSE(f.view.popupShown);
    // F1 over a clicked explanation of another flag shows its own; F1 again closes it.
    f.form.descriptionClicked(4);
    f.form.helpRequested(7);
    CHECK(f.view.popupPlace == designedPopup(7));
    f.form.helpRequested(7);
    CHECK_FALSE(f.view.popupShown);
}

TEST_CASE("a paste is taken whole up to 4096 characters in the box, and refused whole beyond")
{
    CHECK(MainForm::acceptsPaste(320));
    CHECK(MainForm::acceptsPaste(4096));
    CHECK_FALSE(MainForm::acceptsPaste(4097));
    CHECK_FALSE(MainForm::acceptsPaste(10u << 20));
}

TEST_CASE("typed text enters the value box only if it is all digits")
{
    CHECK(MainForm::acceptsTyped(U"7"));
    CHECK(MainForm::acceptsTyped(U"1040"));
    for (const char32_t *text :
        { U"\u00e9", U"\u00b9", U"\u00bd", U"\u00b21^", U"1a", U" ", U"\uff11" }) {
        CAPTURE(std::u32string(text).size());
        CHECK_FALSE(MainForm::acceptsTyped(text));
    }
}
