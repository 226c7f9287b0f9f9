#include "form/main_form.h"

#include "flags/flag_model.h"
#include "form/main_form_layout.h"

#include <algorithm>
#include <string>
#include <vector>

namespace form {

namespace {

// GO's result in words: the value and the flags it ticked, lowest first ("1040: 16 and 1024").
std::string splitWords(const std::vector<int> &ticks)
{
    flags::FlagSet ticked {};
    for (int k : ticks)
        ticked[k] = true;
    std::string words = flags::runningTotal(ticked) + ": ";
    if (ticks.empty())
        return words + "no flags";
    for (auto k = ticks.rbegin(); k != ticks.rend(); ++k) {
        if (k != ticks.rbegin())
            words += k + 1 == ticks.rend() ? " and " : ", ";
        words += flags::caption(*k);
    }
    return words;
}

} // namespace

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

MainForm::Verdict MainForm::admitLength(Route route, std::size_t lengthAfter)
{
    if (route == Route::KeyCommand)
        return Verdict::Drop;
    return lengthAfter <= static_cast<std::size_t>(layout::ValueBoxLimit) ? Verdict::Take
                                                                          : Verdict::Refuse;
}

MainForm::Verdict MainForm::admit(Route route, std::u32string_view text, std::size_t lengthAfter)
{
    // Only a menu's Paste brings other characters than digits: it is the user's explicit wish,
    // and GO then reports what is not a number.
    if ((route == Route::Typed || route == Route::Inserted)
        && !std::all_of(text.begin(), text.end(), flags::acceptsCharacter))
        return Verdict::Drop;
    return admitLength(route, lengthAfter);
}

void MainForm::run(Command command)
{
    switch (command) {
    case Command::Go:
        goClicked();
        break;
    case Command::Cancel:
    case Command::Exit:
        m_view.endProgram();
        break;
    case Command::Fwo:
        fwoClicked();
        break;
    case Command::About:
        m_view.openAbout();
        break;
    case Command::None:
    case Command::Count:
        break;
    }
}

// A new value is on its way: GO may split it.
void MainForm::valueEdited()
{
    m_view.setGoEnabled(true);
}

// Reset: GO back on, every box unticked in ascending order, "0" wholly selected.
void MainForm::valueClicked()
{
    m_view.setGoEnabled(true);
    for (int i = 0; i < flags::FlagCount; ++i)
        setTicked(i, false);
    m_view.setValueText("0");
    selectAllValueText();
    copyTotal();
}

void MainForm::goClicked()
{
    // The value shown is read before the boxes are cleared: each untick rewrites the value box,
    // and with boxes ticked the typed value (or the total shown) would be gone, leaving "0".
    const flags::Decomposition split = flags::decompose(m_view.valueText());
    for (int i = 0; i < flags::FlagCount; ++i)
        setTicked(i, false);

    // Highest flag first; each tick runs the flag-box step before the next.
    for (int index : split.ticks)
        setTicked(index, true);

    copyTotal(); // before the message: the total stands while the user reads it
    // Over the limit the message box, read out as it opens, is the result.
    if (flags::isValid(split))
        m_view.announce(splitWords(split.ticks));
    else
        m_view.showMessage(layout::ProgramTitle, flags::InvalidValueMessage);
    // Back to the value box, ready for the next value, before GO is disabled: a disabled GO
    // holding the focus would hand it to the first flag box on the way, where a screen reader
    // announces it and the next Space ticks it.
    m_view.focusValueBox();
    m_view.setGoEnabled(false);
    selectAllValueText();
}

// The same for every box: it does not matter which one changed.
void MainForm::flagClicked(int /*index*/)
{
    flagsChanged();
    m_view.announce("Total " + m_total);
    copyTotal();
}

void MainForm::descriptionClicked(int index)
{
    m_helpFlag = -1;
    m_view.showPopup(flags::detailText(index), popupPlace(index), index);
}

void MainForm::popupClicked()
{
    m_helpFlag = -1;
    m_view.hidePopup();
}

void MainForm::fwoClicked()
{
    m_helpFlag = -1;
    m_view.showPopup(flags::fwoNote(), layout::FwoPopup, MainView::NoFlag);
}

void MainForm::helpRequested(int index)
{
    if (index < 0 || index >= flags::FlagCount)
        return;
    if (m_helpFlag == index) {
        popupClicked();
        return;
    }
    descriptionClicked(index);
    m_helpFlag = index;
}

void MainForm::escapePressed()
{
    popupClicked();
}

void MainForm::focusMoved()
{
    if (m_helpFlag >= 0)
        popupClicked();
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
    m_total = flags::runningTotal(ticked);
    m_view.setValueText(m_total);
}

void MainForm::copyTotal()
{
    if (m_total.empty())
        return;
    // Should another program hold the clipboard, the view keeps the total for later or leaves
    // the previous content; either way it carries on.
    m_view.setClipboardText(m_total);
    m_total.clear();
}

void MainForm::selectAllValueText()
{
    m_view.selectValueText(0, static_cast<int>(m_view.valueText().size()));
}

} // namespace form
