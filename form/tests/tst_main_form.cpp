#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "form/main_form.h"

#include "flags/flag_model.h"
#include "form/about_form_layout.h"
#include "form/main_form_layout.h"
#include "form/tests/behaviour.h"

#include <behaviour_rows.h>
#include <doctest/doctest.h>

#include <array>
#include <string>
#include <vector>

using form::Command;
using form::MainForm;
using Route = MainForm::Route;
using Verdict = MainForm::Verdict;

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
    int popupFlag = form::MainView::NoFlag;
    std::string popupText;
    std::string log; // the changes, separated by "; "
    // The value box's selection (the caret at its end), the focus and the clipboard.
    std::size_t selectionStart = 0, selectionEnd = 0;
    std::string focus = "Text1";
    std::string clipboard = behaviour::StartClipboard;
    bool limitShown = false;

    std::vector<int> tickedIndices() const
    {
        std::vector<int> on;
        for (int i = 0; i < flags::FlagCount; ++i)
            if (ticked[i])
                on.push_back(i);
        return on;
    }

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
        selectionStart = selectionEnd = value.size();
        record("value " + value);
    }
    void selectValueText(int start, int length) override
    {
        selectionStart = static_cast<std::size_t>(start);
        selectionEnd = selectionStart + static_cast<std::size_t>(length);
        record("select " + std::to_string(start) + " " + std::to_string(length));
    }
    void focusValueBox() override
    {
        focus = "Text1";
        record("focus value");
    }
    void setGoEnabled(bool enabled) override
    {
        goEnabled = enabled;
        record(enabled ? "go on" : "go off");
    }
    void setClipboardText(std::string_view text) override
    {
        clipboard = text;
        record("clip " + clipboard);
    }
    void showMessage(std::string_view title, std::string_view text) override
    {
        limitShown = title == "Orvanunk4" && text == flags::InvalidValueMessage;
        record("message " + std::string(title) + ": " + std::string(text));
    }
    void showPopup(std::string_view text, const twips::Rect &place, int flag) override
    {
        popupShown = true;
        popupText = text;
        popupPlace = place;
        popupFlag = flag;
        record("popup");
    }
    void hidePopup() override
    {
        popupShown = false;
        record("hide popup");
    }
    void announce(std::string_view text) override { record("announce " + std::string(text)); }
    void openAbout() override { record("about"); }
    void endProgram() override { record("end"); }

    void tickByHand(MainForm &form, int index)
    {
        ticked[index] = !ticked[index];
        form.flagClicked(index);
    }

private:
    void record(const std::string &line) { log += (log.empty() ? "" : "; ") + line; }
};

const std::string Limit = "message Orvanunk4: " + std::string(flags::InvalidValueMessage);

// The loaded form on its view. It plays a row of the behaviour table the way a window would: a
// click lands on what lies on top at the middle of the control named (the popup above the
// labels), the focus follows the clicks and Tab, the value box takes what the form admits in
// place of its selection, and the clipboard holds what another program or the form put there.
class Fixture
{
public:
    RecordingView view;
    MainForm form { view };
    Fixture()
    {
        form.load();
        view.log.clear();
    }

    void play(const behaviour::Action &a)
    {
        if (a.verb == "click" || a.verb == "doubleclick") {
            click(a.text, 1);
            if (a.verb == "doubleclick")
                click(a.text, 2);
        } else if (a.verb == "rightclick") {
            return; // nothing in the window takes the right button but the value box's menu
        } else if (a.verb == "type") {
            for (char c : a.text)
                enter(Route::Typed, std::string(1, c));
        } else if (a.verb == "key") {
            for (int n = 0; n < a.times; ++n)
                key(a.text);
        } else if (a.verb == "menu") {
            REQUIRE(a.text == "mnuFWO");
            form.run(Command::Fwo);
        } else if (a.verb == "copy") {
            view.clipboard = a.text;
        } else if (a.verb == "paste") {
            enter(Route::MenuPaste, view.clipboard);
        } else if (a.verb == "insert") {
            enter(Route::Inserted, a.text);
        } else {
            FAIL("no such action: " << a.verb);
        }
    }

private:
    static bool contains(const twips::Rect &r, int x, int y)
    {
        return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
    }

    // The `count`th press of a quick series at the middle of the control named.
    void click(const std::string &name, int count)
    {
        if (name == "cmdGo" && !view.goEnabled)
            return;                        // a disabled button takes no click
        const bool label = name[0] == 'L'; // Label1 and Label3_N, which take no focus
        if (!label)
            moveFocus(name);
        if (!MainForm::isClick(count))
            return;
        if (!label)
            return press(name);
        const int i = name == "Label1" ? -1 : std::stoi(name.substr(7));
        if (view.popupShown
            && (i < 0
                || contains(view.popupPlace,
                    layout::DescriptionLeft + layout::DescriptionWidths[i] / 2,
                    layout::rowTop(i) + layout::RowHeight / 2)))
            form.popupClicked();
        else if (i >= 0)
            form.descriptionClicked(i);
    }

    // What a click or Space does on the control.
    void press(const std::string &name)
    {
        if (name == "Text1") {
            form.valueClicked();
        } else if (name == "cmdGo") {
            form.run(Command::Go);
        } else {
            REQUIRE(name.rfind("Check1_", 0) == 0);
            view.tickByHand(form, std::stoi(name.substr(7)));
        }
    }

    void moveFocus(const std::string &name)
    {
        if (view.focus == name)
            return;
        view.focus = name;
        form.focusMoved();
    }

    static std::string nameOf(const layout::Slot &stop)
    {
        return stop.what == layout::Slot::FlagBox ? "Check1_" + std::to_string(stop.index)
                                                  : std::string(layout::Controls[stop.index].name);
    }

    // Tab and Shift+Tab: the next control of the tab order that is enabled.
    void tab(int step)
    {
        const int n = static_cast<int>(layout::FocusOrder.size());
        int at = 0;
        while (nameOf(layout::FocusOrder[at]) != view.focus)
            ++at;
        do
            at = (at + step + n) % n;
        while (nameOf(layout::FocusOrder[at]) == "cmdGo" && !view.goEnabled);
        moveFocus(nameOf(layout::FocusOrder[at]));
        if (view.focus == "Text1") // the box comes in with its text selected
            view.selectValueText(0, static_cast<int>(view.value.size()));
    }

    void key(const std::string &k)
    {
        std::string &text = view.value;
        std::size_t &start = view.selectionStart, &end = view.selectionEnd;
        if (k == "Tab" || k == "Shift+Tab") {
            tab(k == "Tab" ? 1 : -1);
        } else if (k == "F1") {
            const std::string &f = view.focus;
            form.helpRequested(f.rfind("Check1_", 0) == 0 ? std::stoi(f.substr(7)) : -1);
        } else if (k == "Escape") {
            form.escapePressed();
        } else if (view.focus != "Text1") {
            // On a button or a box, Space presses it (never Cancel here); Enter nothing.
            if (k == "Space" && view.focus != "cmdCancel")
                press(view.focus);
        } else if (k == "Backspace" || k == "Enter" || k == "Space") { // their characters
            enter(Route::Typed, k == "Backspace" ? "\b" : k == "Enter" ? "\r" : " ");
        } else if (k == "Ctrl+Insert" || k == "Shift+Insert" || k == "Shift+Delete") {
            enter(Route::KeyCommand, "");
        } else if (k.rfind("Ctrl+", 0) == 0 && k.size() == 6) {
            enter(Route::Typed, std::string(1, static_cast<char>(k[5] - 'A' + 1)));
        } else if (k == "Delete") {
            if (start == end && end < text.size())
                ++end;
            if (start == end)
                return;
            text.erase(start, end - start);
            end = start;
            form.valueEdited();
        } else if (k == "Home" || k == "End") {
            start = end = k == "Home" ? 0 : text.size();
        } else if (k == "Left" || k == "Right") { // a selection's own end, else one step
            const bool left = k == "Left";
            end = start != end ? (left ? start : end)
                : left         ? end - (end > 0)
                               : end + (end < text.size());
            start = end;
        } else if (k == "Shift+Home") {
            start = 0;
        } else {
            FAIL("no such key: " << k);
        }
    }

    void enter(Route route, const std::string &text)
    {
        if (view.focus != "Text1")
            return;
        const std::size_t after
            = view.value.size() - (view.selectionEnd - view.selectionStart) + text.size();
        if (MainForm::admit(route, std::u32string(text.begin(), text.end()), after)
            != Verdict::Take)
            return;
        view.value.replace(view.selectionStart, view.selectionEnd - view.selectionStart, text);
        view.selectionStart = view.selectionEnd = view.selectionStart + text.size();
        form.valueEdited();
    }
};

} // namespace

TEST_CASE("the behaviour table")
{
    const std::vector<behaviour::Row> rows = behaviour::parse(behaviour::Table, flags::FlagCount);
    REQUIRE(rows.size() > 30);
    for (const behaviour::Row &row : rows) {
        CAPTURE(row.name);
        Fixture f;
        for (const behaviour::Action &action : row.actions)
            f.play(action);

        CHECK(f.view.value == row.value);
        CHECK(f.view.tickedIndices() == row.ticked);
        CHECK(f.view.clipboard == row.clipboard);
        CHECK(f.view.goEnabled == row.goEnabled);
        if (row.focus != "*")
            CHECK(f.view.focus == row.focus);
        CHECK(f.view.limitShown == row.limitMessage);
        CHECK(f.view.popupShown == (row.popup != behaviour::NoPopup));
        if (row.popup == behaviour::FwoPopup)
            CHECK(f.view.popupText == flags::fwoNote());
        else if (row.popup >= 0)
            CHECK(f.view.popupText == flags::detailText(row.popup));
    }
}

// Load puts a selected 0 in the value box and hides the popup, and nothing else. A screen reader
// hears the total after each box the user changes. The reset then unticks in ascending order,
// selects a 0, leaves GO on and copies once.
TEST_CASE("load; a box changed by hand announces the running total; the reset unticks in order")
{
    RecordingView view;
    MainForm form(view);
    form.load();
    CHECK(view.log == "value 0; select 0 1; hide popup");
    view.log.clear();
    view.tickByHand(form, 10);
    view.tickByHand(form, 4);
    CHECK(view.log
        == "value 1024; announce Total 1024; clip 1024; "
           "value 1040; announce Total 1040; clip 1040");
    view.log.clear();
    form.valueClicked();
    CHECK(
        view.log == "go on; untick 4; value 1024; untick 10; value 0; value 0; select 0 1; clip 0");
}

// Every command the tables carry reaches its handler: the menus and buttons of each front end
// dispatch on these ids, and take only those that isCommand() names. GO ticks highest first, each
// tick running the flag-box step at once, before the next flag is tested; the clipboard gets the
// last total once, before any message (above the limit, after all twenty ticks). GO ends with the
// focus back in the value box before GO goes off (a disabled GO with the focus would pass it to a
// flag box on the way), then the value box's text selected.
TEST_CASE("each command of the tables does its own thing")
{
    std::string allTicks;
    for (int k = flags::FlagCount - 1, total = 0; k >= 0; --k)
        allTicks += "; tick " + std::to_string(k) + "; value " + std::to_string(total += 1 << k);
    const std::string goEnd = "; focus value; go off; select 0 ";
    const struct
    {
        Command command;
        std::string typed;
        std::string log;
    } rows[] = {
        { Command::Go, "1040",
            "tick 10; value 1024; tick 4; value 1040; clip 1040; "
            "announce 1040: 16 and 1024"
                + goEnd + "4" },
        { Command::Go, "7",
            "tick 2; value 4; tick 1; value 6; tick 0; value 7; clip 7; "
            "announce 7: 1, 2 and 4"
                + goEnd + "1" },
        { Command::Go, "0", "announce 0: no flags" + goEnd + "1" },
        { Command::Go, "", Limit + goEnd + "0" },
        { Command::Go, "1048576", allTicks.substr(2) + "; clip 1048575; " + Limit + goEnd + "7" },
        { Command::Cancel, "", "end" },
        { Command::Exit, "", "end" },
        { Command::Fwo, "", "popup" },
        { Command::About, "", "about" },
        { Command::None, "", "" },
    };
    for (const auto &row : rows) {
        CAPTURE(static_cast<int>(row.command));
        CAPTURE(row.typed);
        CHECK(form::isCommand<Command>(static_cast<int>(row.command)) == !row.log.empty());
        Fixture f;
        f.view.value = row.typed;
        f.form.run(row.command);
        CHECK(f.view.log == row.log);
    }
    CHECK_FALSE(form::isCommand<Command>(6));
    CHECK(layout::control("cmdGo").command == Command::Go);
    CHECK(layout::control("cmdCancel").command == Command::Cancel);
    CHECK(about_layout::control("cmdOK").command == about_layout::Command::Close);
    CHECK(form::isCommand<about_layout::Command>(1));
    CHECK_FALSE(form::isCommand<about_layout::Command>(2));
    CHECK(form::find(layout::Menus, "mnuFileExit").command == Command::Exit);
    CHECK(form::find(layout::Menus, "mnuFWO").command == Command::Fwo);
    CHECK(form::find(layout::Menus, "mnuHelpAbout").command == Command::About);
}

// Where each flag's explanation stands, as designed: left 1440, width 4740; flags 0 to 15 hang
// down from their description (top 1680 + 240 x index), flags 16 to 19 stand up from it. The
// note on [FWO] stands apart.
TEST_CASE("the popup stands beside the description it explains")
{
    // clang-format off
    constexpr int designed[flags::FlagCount][2] = { // top, height
        { 1680,  255 }, { 1920, 1440 }, { 2160,  720 }, { 2400,  720 }, { 2640,  820 },
        { 2880,  500 }, { 3120,  480 }, { 3360,  720 }, { 3600, 1680 }, { 3840, 1250 },
        { 4080, 2265 }, { 4320, 1665 }, { 4560, 1425 }, { 4800, 1665 }, { 5040, 1275 },
        { 5280, 1275 }, { 4080, 1635 }, { 5280,  675 }, { 5160, 1035 }, { 5760,  675 },
    };
    // clang-format on
    for (int i = 0; i < flags::FlagCount; ++i) {
        CAPTURE(i);
        Fixture f;
        f.form.descriptionClicked(i);
        CHECK(f.view.popupText == flags::detailText(i));
        CHECK(f.view.popupPlace == twips::Rect { 1440, designed[i][0], 4740, designed[i][1] });
        CHECK(f.view.popupFlag == i);
    }
    Fixture f;
    f.form.run(Command::Fwo);
    CHECK(f.view.popupFlag == form::MainView::NoFlag);
    CHECK(f.view.popupPlace == twips::Rect { 500, 50, 4800, 500 });
}

// What the rows cannot type: characters beyond ASCII, and the limit by length alone. Digits
// typed within and past the limit, the keys' commands and a Paste past the limit are the rows',
// and so is a paste of a million characters, which the length refuses before the text is read.
TEST_CASE("the value box admits digits by every route but a menu's Paste, within 4096")
{
    struct Row
    {
        Route route;
        const char32_t *text;
        std::size_t lengthAfter;
        Verdict verdict;
    };
    const Row rows[] = {
        { Route::Typed, U"\u00e9", 1, Verdict::Drop },
        { Route::Typed, U"\u00b9", 1, Verdict::Drop }, // superscript one
        { Route::Typed, U"\u0661", 1, Verdict::Drop }, // Arabic-Indic one
        { Route::Typed, U"\uff11", 1, Verdict::Drop }, // full-width one
        { Route::Inserted, U"\u00b21", 2, Verdict::Drop },
        { Route::Inserted, U"1040", 4096, Verdict::Take },
        { Route::Inserted, U"1040", 4097, Verdict::Refuse },
        { Route::MenuPaste, U"\u00bd x", 4096, Verdict::Take },
    };
    for (const Row &row : rows) {
        CAPTURE(static_cast<int>(row.route));
        CAPTURE(row.lengthAfter);
        CHECK(MainForm::admit(row.route, row.text, row.lengthAfter) == row.verdict);
    }
}
