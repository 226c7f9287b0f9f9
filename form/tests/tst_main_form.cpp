#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "form/main_form.h"

#include "flags/flag_model.h"
#include "form/main_form_layout.h"

#include <doctest/doctest.h>

#include <array>
#include <string>
#include <vector>

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

} // namespace

TEST_CASE("load puts a selected 0 in the value box and hides the popup, and nothing else")
{
    RecordingView view;
    MainForm form(view);
    form.load();
    CHECK(view.log == std::vector<std::string> { "value 0", "select 0 1", "hide popup" });
}

// Each tick runs the flag-box step at once, before the next flag is tested.
TEST_CASE("GO ticks highest first, the running total following every tick")
{
    struct Row
    {
        std::string typed;
        std::vector<std::string> log;
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
        return log;
    }();
    std::vector<Row> rows = {
        { "12", { "tick 3", "value 8", "clip 8", "tick 2", "value 12", "clip 12", "go off" } },
        { "0012", { "tick 3", "value 8", "clip 8", "tick 2", "value 12", "clip 12", "go off" } },
        { "1040",
            { "tick 10", "value 1024", "clip 1024", "tick 4", "value 1040", "clip 1040",
                "go off" } },
        // Nothing to tick: the value box keeps its text and the clipboard is left alone.
        { "0", { "go off" } },
        { "", { Limit, "go off" } },
        { "12a", { Limit, "go off" } },
    };
    // Above the limit: all twenty ticks first, then the message, then GO off.
    for (const char *typed : { "1048576", "99999999999999999999999" }) {
        Row row { typed, allTicks };
        row.log.insert(row.log.end(), { Limit, "go off" });
        rows.push_back(row);
    }
    for (const Row &row : rows) {
        CAPTURE(row.typed);
        Fixture f;
        f.view.value = row.typed;
        f.form.goClicked();
        CHECK(f.view.log == row.log);
        CHECK_FALSE(f.view.goEnabled);
    }
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

TEST_CASE("the popup stands beside the description it explains")
{
    for (int i = 0; i < flags::FlagCount; ++i) {
        CAPTURE(i);
        Fixture f;
        f.form.descriptionClicked(i);
        const twips::Rect &r = f.view.popupPlace;
        CHECK(f.view.popupShown);
        CHECK(f.view.popupText == flags::detailText(i));
        CHECK(r.height == layout::PopupHeights[i]);
        CHECK(r.left == 1440);
        CHECK(r.width == 4740);
        // Hanging down from the description, or for the last four rows standing up from it.
        if (i < 16)
            CHECK(r.top == layout::rowTop(i));
        else
            CHECK(r.top + r.height == layout::rowTop(i) + layout::RowHeight);
        f.form.popupClicked();
        CHECK_FALSE(f.view.popupShown);
    }

    Fixture f;
    f.form.fwoClicked();
    CHECK(f.view.popupText == flags::fwoNote());
    CHECK(f.view.popupPlace == twips::Rect { 500, 50, 4800, 500 });
}

TEST_CASE("the popup is left alone by GO, the boxes and the reset")
{
    Fixture f;
    f.form.descriptionClicked(10);
    f.view.value = "1040";
    f.form.goClicked();
    f.view.tickByHand(f.form, 0);
    f.form.valueClicked();
    CHECK(f.view.popupShown);
    CHECK(f.view.popupPlace == MainForm::popupPlace(10));
}

TEST_CASE("Cancel and File > Exit end the program; Help > About opens the About window")
{
    Fixture f;
    f.form.cancelClicked();
    f.form.exitClicked();
    f.form.aboutClicked();
    CHECK(f.view.log == std::vector<std::string> { "end", "end", "about" });
}
