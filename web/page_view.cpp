// The main window in the browser: a view of the form over the page's DOM. The page's static
// HTML (written at build time by web_markup) already holds every control at its place; this
// view finds them by id, shows what the form sets, and hands the platform's own jobs (the
// clipboard, the message box, the About window, the end) to the page's script object.

#include "flags/flag_model.h"
#include "form/main_form.h"
#include "form/main_form_layout.h"

#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

using emscripten::val;

namespace {

std::string text(std::string_view view)
{
    return std::string(view);
}

std::string pixels(int twips)
{
    return std::to_string(twips::px(twips)) + "px";
}

class PageView final : public form::MainView
{
public:
    explicit PageView(val page)
        : m_page(std::move(page))
    {
        const val document = val::global("document");
        const auto byId
            = [&](const std::string &id) { return document.call<val>("getElementById", id); };
        for (int i = 0; i < flags::FlagCount; ++i)
            m_boxes.push_back(byId("Check1_" + std::to_string(i)));
        m_value = byId("Text1");
        m_go = byId("cmdGo");
        m_popup = byId("Label1");
    }

    // The form reads every box after each change: the property's name is made into a
    // JavaScript string once, not on each of GO's hundreds of reads.
    bool isTicked(int index) const override { return m_boxes[index][m_checked].as<bool>(); }
    // A box set from script fires no event: the form's own ticks never come back.
    void setTicked(int index, bool ticked) override { m_boxes[index].set(m_checked, ticked); }

    std::string valueText() const override { return m_value[m_valueKey].as<std::string>(); }
    void setValueText(std::string_view value) override { m_value.set(m_valueKey, text(value)); }
    void selectValueText(int start, int length) override
    {
        m_value.call<void>("setSelectionRange", start, start + length);
    }
    void focusValueBox() override { m_value.call<void>("focus"); }

    void setGoEnabled(bool enabled) override { m_go.set("disabled", !enabled); }

    void setClipboardText(std::string_view total) override
    {
        m_page.call<void>("copy", text(total));
    }

    void showMessage(std::string_view title, std::string_view message) override
    {
        m_page.call<void>("message", text(title), text(message));
    }

    void showPopup(std::string_view explanation, const twips::Rect &place) override
    {
        val style = m_popup["style"];
        style.set("left", pixels(place.left));
        style.set("top", pixels(place.top));
        style.set("width", pixels(place.width));
        style.set("height", pixels(place.height));
        m_popup.set("textContent", text(explanation));
        m_popup.set("hidden", false);
        m_page.call<void>("announce", text(explanation));
    }
    void hidePopup() override { m_popup.set("hidden", true); }

    void openAbout() override { m_page.call<void>("openAbout"); }
    void endProgram() override { m_page.call<void>("end"); }

private:
    val m_page;
    val m_checked = val("checked");
    val m_valueKey = val("value");
    std::vector<val> m_boxes;
    val m_value = val::null();
    val m_go = val::null();
    val m_popup = val::null();
};

form::MainForm &theForm()
{
    static PageView view(val::module_property("page"));
    static form::MainForm form(view);
    return form;
}

} // namespace

// The page's script calls these, as Module._orvan_<name>: the user's actions, for the one main
// window of the page. Embind's class bindings would add more to the page than the whole form.
extern "C" {

EMSCRIPTEN_KEEPALIVE void orvan_load()
{
    theForm().load();
}
EMSCRIPTEN_KEEPALIVE void orvan_valueClicked()
{
    theForm().valueClicked();
}
EMSCRIPTEN_KEEPALIVE void orvan_valueEdited()
{
    theForm().valueEdited();
}
EMSCRIPTEN_KEEPALIVE void orvan_flagClicked(int index)
{
    theForm().flagClicked(index);
}
EMSCRIPTEN_KEEPALIVE void orvan_descriptionClicked(int index)
{
    theForm().descriptionClicked(index);
}
EMSCRIPTEN_KEEPALIVE void orvan_popupClicked()
{
    theForm().popupClicked();
}
EMSCRIPTEN_KEEPALIVE void orvan_helpRequested(int index)
{
    theForm().helpRequested(index);
}
EMSCRIPTEN_KEEPALIVE void orvan_escapePressed()
{
    theForm().escapePressed();
}
EMSCRIPTEN_KEEPALIVE void orvan_focusMoved()
{
    theForm().focusMoved();
}

// A command by its number in the page (the data-command attribute, from the tables). The About
// window's own OK closes it; the rest are the form's.
EMSCRIPTEN_KEEPALIVE void orvan_run(int number)
{
    const auto command = static_cast<form::Command>(number);
    if (command == form::Command::CloseAbout)
        val::module_property("page").call<void>("closeAbout");
    else if (number > 0 && number < static_cast<int>(form::Command::CloseAbout))
        theForm().run(command);
}

// Whether the value box takes the page's `candidate` text, typed or composed in one go, and
// may then hold `length` characters.
EMSCRIPTEN_KEEPALIVE bool orvan_accepts(int length)
{
    const std::wstring typed = val::module_property("candidate").as<std::wstring>();
    return form::MainForm::acceptsTyped(std::u32string(typed.begin(), typed.end()))
        && form::MainForm::acceptsPaste(static_cast<std::size_t>(length));
}

} // extern "C"
