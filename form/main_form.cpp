#include "form/main_form.h"

#include "flags/flag_model.h"
#include "form/main_form_layout.h"

#include <string>

namespace form {

MainForm::MainForm(MainView &view)
    : m_view(view)
{ }

void MainForm::load()
{
    m_view.setValueText("0");
    // The front end builds the tab order with the value box first (layout::tabAfterLoad).
    selectAllValueText();
    m_view.hidePopup();
}

bool MainForm::acceptsCharacter(char32_t code)
{
    return flags::acceptsCharacter(code);
}

// Reset: GO back on, every box unticked in ascending order, "0" wholly selected.
void MainForm::valueClicked()
{
    m_view.setGoEnabled(true);
    for (int i = 0; i < flags::FlagCount; ++i)
        setTicked(i, false);
    m_view.setValueText("0");
    selectAllValueText();
}

void MainForm::goClicked()
{
    // Each untick rewrites the value box, so with boxes ticked it reads "0" afterwards.
    for (int i = 0; i < flags::FlagCount; ++i)
        setTicked(i, false);

    const flags::Decomposition split = flags::decompose(m_view.valueText());
    // Highest flag first; each tick runs the flag-box step before the next.
    for (int index : split.ticks)
        setTicked(index, true);

    if (!flags::isValid(split))
        m_view.showMessage(layout::ProgramTitle, flags::InvalidValueMessage);
    m_view.setGoEnabled(false);
}

// The same for every box: it does not matter which one changed.
void MainForm::flagClicked(int /*index*/)
{
    flagsChanged();
}

void MainForm::cancelClicked()
{
    m_view.endProgram();
}

void MainForm::exitClicked()
{
    m_view.endProgram();
}

void MainForm::descriptionClicked(int index)
{
    m_view.showPopup(flags::detailText(index), popupPlace(index));
}

void MainForm::popupClicked()
{
    m_view.hidePopup();
}

void MainForm::fwoClicked()
{
    m_view.showPopup(flags::fwoNote(), layout::FwoPopup);
}

void MainForm::aboutClicked()
{
    m_view.openAbout();
}

twips::Rect MainForm::popupPlace(int index)
{
    return { layout::PopupLeft, layout::popupTop(index), layout::PopupWidth,
        layout::PopupHeights[index] };
}

void MainForm::setTicked(int index, bool ticked)
{
    if (m_view.isTicked(index) == ticked)
        return;
    m_view.setTicked(index, ticked);
    flagsChanged();
}

void MainForm::flagsChanged()
{
    flags::FlagSet ticked {};
    for (int k = 0; k < flags::FlagCount; ++k)
        ticked[k] = m_view.isTicked(k);
    const std::string total = flags::runningTotal(ticked);
    m_view.setValueText(total);
    // Should another program hold the clipboard, the write is lost and the previous content
    // stays; the view carries on.
    m_view.setClipboardText(total);
}

void MainForm::selectAllValueText()
{
    m_view.selectValueText(0, static_cast<int>(m_view.valueText().size()));
}

} // namespace form
