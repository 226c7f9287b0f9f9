// The main window in the browser: a view of the form over the page. The page's static HTML
// (written at build time by web_markup) already holds every control at its place; this view
// hands what the form sets to the page's functions (page.js's `page` object): the boxes, the
// value, GO, the explanation, and the platform's own jobs (the clipboard, the message box, what
// screen readers are told, the About window, the end). What the two sides call of each other is
// named once, in seam.list (page_seam.h is written from it).

#include "form/main_form.h"

#include <page_seam.h>

#include <string>

namespace {

class PageView final : public form::MainView
{
public:
    bool isTicked(int index) const override { return seam::page::isTicked(index); }
    // A box set from script fires no event: the form's own ticks never come back.
    void setTicked(int index, bool ticked) override { seam::page::setTicked(index, ticked); }

    std::string valueText() const override { return seam::page::valueText(); }
    void setValueText(std::string_view value) override { seam::page::setValueText(value); }
    void selectValueText(int start, int length) override
    {
        seam::page::selectValueText(start, start + length);
    }
    void focusValueBox() override { seam::page::focusValueBox(); }

    void setGoEnabled(bool enabled) override { seam::page::setGoEnabled(enabled); }

    void setClipboardText(std::string_view total) override { seam::page::copy(total); }

    void showMessage(std::string_view title, std::string_view message) override
    {
        seam::page::message(title, message);
    }

    void announce(std::string_view text) override { seam::page::announce(text); }

    // In pixels, from the form's twips; with the flag it explains, so that the page marks that
    // flag's description as expanded.
    void showPopup(std::string_view explanation, const twips::Rect &place, int flag) override
    {
        seam::page::showPopup(explanation, flag, twips::px(place.left), twips::px(place.top),
            twips::px(place.width), twips::px(place.height));
    }
    void hidePopup() override { seam::page::hidePopup(); }

    void openAbout() override { seam::page::openAbout(); }
    void endProgram() override { seam::page::end(); }
};

// The text the script puts here for admit().
std::u32string admitted;

form::MainForm &theForm()
{
    static PageView view;
    static form::MainForm form(view);
    return form;
}

} // namespace

// The page's script calls these (program.NAME, declared in page_seam.h): the user's actions, for
// the one main window of the page.
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
// text (at most what the length allowed), as code points in the buffer orvan_textBuffer() gives,
// for admit().
int orvan_admitLength(int route, int lengthAfter)
{
    return static_cast<int>(form::MainForm::admitLength(
        static_cast<form::MainForm::Route>(route), static_cast<std::size_t>(lengthAfter)));
}
char32_t *orvan_textBuffer(int length)
{
    admitted.assign(static_cast<std::size_t>(length), U'\0');
    return admitted.data();
}
int orvan_admit(int route, int lengthAfter)
{
    return static_cast<int>(form::MainForm::admit(static_cast<form::MainForm::Route>(route),
        admitted, static_cast<std::size_t>(lengthAfter)));
}

} // extern "C"
