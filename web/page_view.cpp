// The main window in the browser: a view of the form over the page's DOM. The page's static
// HTML (written at build time by web_markup) already holds every control at its place; this
// view finds them by id, shows what the form sets, and hands the platform's own jobs (the
// clipboard, the message box, the About window, the end) to the page's script object. What the
// two sides call of each other is named once, in seam.list (page_seam.h is written from it).

#include "flags/flag_model.h"
#include "form/main_form.h"
#include "form/main_form_layout.h"

#include <page_seam.h>

#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <string>
#include <utility>
#include <vector>

using emscripten::val;
using seam::PageCall;

namespace {

std::string text(std::string_view view)
{
    return std::string(view);
}

std::string pixels(int twips)
{
    return std::to_string(twips::px(twips)) + "px";
}

// One of the page's functions (page.js's `page` object).
template <typename... Args> void callPage(const val &page, PageCall function, Args &&...args)
{
    page.call<void>(seam::PageCallNames[static_cast<int>(function)], std::forward<Args>(args)...);
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
        callPage(m_page, PageCall::copy, text(total));
    }

    void showMessage(std::string_view title, std::string_view message) override
    {
        callPage(m_page, PageCall::message, text(title), text(message));
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
        callPage(m_page, PageCall::announce, text(explanation));
    }
    void hidePopup() override { m_popup.set("hidden", true); }

    void openAbout() override { callPage(m_page, PageCall::openAbout); }
    void endProgram() override { callPage(m_page, PageCall::end); }

private:
    val m_page;
    val m_checked = val("checked");
    val m_valueKey = val("value");
    std::vector<val> m_boxes;
    val m_value = val::null();
    val m_go = val::null();
    val m_popup = val::null();
};

// The text the script puts here for admit().
std::u32string &textBuffer()
{
    static std::u32string text;
    return text;
}

form::MainForm &theForm()
{
    static PageView view(val::module_property("page"));
    static form::MainForm form(view);
    return form;
}

} // namespace

// The page's script calls these (program.NAME, declared in page_seam.h): the user's actions, for
// the one main window of the page. Embind's class bindings would add more to the page than the
// whole form.
extern "C" {

void orvan_load()
{
    theForm().load();
}
void orvan_valueClicked()
{
    theForm().valueClicked();
}
void orvan_valueEdited()
{
    theForm().valueEdited();
}
void orvan_flagClicked(int index)
{
    theForm().flagClicked(index);
}
void orvan_descriptionClicked(int index)
{
    theForm().descriptionClicked(index);
}
void orvan_popupClicked()
{
    theForm().popupClicked();
}
void orvan_helpRequested(int index)
{
    theForm().helpRequested(index);
}
void orvan_escapePressed()
{
    theForm().escapePressed();
}
void orvan_focusMoved()
{
    theForm().focusMoved();
}

// A command by its number in the page (the data-command attribute, from the tables).
void orvan_run(int number)
{
    if (form::isCommand<form::Command>(number))
        theForm().run(static_cast<form::Command>(number));
}

bool orvan_isClick(int count)
{
    return form::MainForm::isClick(count);
}

// The value box's routes: the script asks with the length first, and only then hands over the
// text (at most what the length allowed), as code points in textBuffer(), for admit().
int orvan_admitLength(int route, int lengthAfter)
{
    return static_cast<int>(form::MainForm::admitLength(
        static_cast<form::MainForm::Route>(route), static_cast<std::size_t>(lengthAfter)));
}
char32_t *orvan_textBuffer(int length)
{
    textBuffer().assign(static_cast<std::size_t>(length), U'\0');
    return textBuffer().data();
}
int orvan_admit(int route, int lengthAfter)
{
    return static_cast<int>(form::MainForm::admit(static_cast<form::MainForm::Route>(route),
        textBuffer(), static_cast<std::size_t>(lengthAfter)));
}

} // extern "C"
