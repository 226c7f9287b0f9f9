#include "ui/main/value_box.h"

#include "ui/main/value_box_accessible.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

ValueBox::ValueBox(QWidget *parent)
    : QLineEdit(parent)
{
    ValueBoxAccessible::install();
    // Digits come in by typing only, so none may arrive by dropping text on the box. (Dragging
    // text out of it is off too, as in every line edit.)
    setAcceptDrops(false);
    // Input methods stay on: on X11, Qt's Compose support turns dead keys and Compose sequences
    // into input method commits whatever this widget says, and a layout may compose a digit
    // too. inputMethodEvent() holds them to the digit rule; the hint asks on-screen keyboards
    // for a digit pad.
    setInputMethodHints(Qt::ImhDigitsOnly);
}

// A screen reader's edit (its editable-text calls): text in place of the characters from start
// to end, or nothing at all.
void ValueBox::putText(int start, int end, const QString &text)
{
    const QString now = this->text();
    start = std::clamp(start, 0, static_cast<int>(now.size()));
    end = std::clamp(end, start, static_cast<int>(now.size()));
    if (admit(form::MainForm::Route::Inserted, text, end - start) == form::MainForm::Verdict::Take)
        setText(QString(now).replace(start, end - start, text));
}

QRect ValueBox::characterRect(int offset) const
{
    // Measured from the caret, which is where the box has scrolled its text to.
    const QString shown = text();
    const QFontMetrics metrics = fontMetrics();
    const int caret = cursorRect().center().x();
    const int left = caret + metrics.horizontalAdvance(shown.left(offset))
        - metrics.horizontalAdvance(shown.left(cursorPosition()));
    const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 0;
    return QRect(left, cursorRect().top(), width, cursorRect().height());
}

// The form's answer for `text` put in place of `replaced` characters (the selection, unless
// told) by `route`.
form::MainForm::Verdict ValueBox::admit(
    form::MainForm::Route route, const QString &text, qsizetype replaced) const
{
    if (replaced < 0)
        replaced = selectedText().size();
    const auto lengthAfter = static_cast<std::size_t>(this->text().size() - replaced + text.size());
    const form::MainForm::Verdict verdict = form::MainForm::admitLength(route, lengthAfter);
    if (verdict != form::MainForm::Verdict::Take)
        return verdict;
    return form::MainForm::admit(route, text.toStdU32String(), lengthAfter);
}

// The route a key takes: the clipboard, undo and select-all commands, whatever key gives them
// on this platform (Shift+Insert pastes, Ctrl+Insert copies and Shift+Delete cut without a
// character), or its character; keys without one (Delete, arrows, Home, End) edit as usual.
void ValueBox::keyPressEvent(QKeyEvent *event)
{
    static const QKeySequence::StandardKey Commands[] = {
        QKeySequence::Paste, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Undo,
        QKeySequence::Redo, QKeySequence::SelectAll,
        QKeySequence::DeleteEndOfLine, // Ctrl+K on X11 also copies what it deletes
    };
    const bool command = std::any_of(std::begin(Commands), std::end(Commands),
        [event](QKeySequence::StandardKey k) { return event->matches(k); });
    // Delete is a key without a character, although X11 gives it the text "\x7f".
    const bool typed = !event->text().isEmpty() && event->key() != Qt::Key_Delete;
    if (command || typed) {
        const form::MainForm::Verdict verdict = command
            ? admit(form::MainForm::Route::KeyCommand, QString())
            : admit(form::MainForm::Route::Typed, event->text());
        if (verdict == form::MainForm::Verdict::Refuse)
            QApplication::beep();
        if (verdict != form::MainForm::Verdict::Take) {
            // Swallowed: passing it on would let the window treat it as a shortcut.
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void ValueBox::keyReleaseEvent(QKeyEvent *event)
{
    // QLineEdit restarts the caret's blinking on release as it does on press, and repaints the
    // caret; every repaint of a line edit measures the whole text again, so a long value paid
    // that twice per keystroke. The press has shown the caret already.
    QWidget::keyReleaseEvent(event);
}

void ValueBox::inputMethodEvent(QInputMethodEvent *event)
{
    // Only the commit and the text being composed are looked at, never the box's text, so a
    // keystroke costs the same whatever the length of the value.
    const auto passes = [this](const QString &text) {
        return text.isEmpty()
            || admit(form::MainForm::Route::Inserted, text) == form::MainForm::Verdict::Take;
    };
    const bool commitPasses = passes(event->commitString());
    const bool preeditPasses = passes(event->preeditString());
    if (commitPasses && preeditPasses) {
        QLineEdit::inputMethodEvent(event);
        return;
    }

    // What fails goes as if never sent: a refused commit takes the text it would replace with
    // it, and a refused preedit shows nothing, taking away any digits composed so far. The
    // attributes describe the preedit, except a selection the input method sets in the text.
    QList<QInputMethodEvent::Attribute> attributes = event->attributes();
    if (!preeditPasses)
        attributes.removeIf([](const QInputMethodEvent::Attribute &a) {
            return a.type != QInputMethodEvent::Selection;
        });
    QInputMethodEvent passed(preeditPasses ? event->preeditString() : QString(), attributes);
    if (commitPasses)
        passed.setCommitString(
            event->commitString(), event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&passed);
    event->accept();
}

void ValueBox::mousePressEvent(QMouseEvent *event)
{
    // The middle button would paste X11's selection.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    m_presses = 1;
    QLineEdit::mousePressEvent(event);
}

void ValueBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_presses = 2;
    QLineEdit::mouseDoubleClickEvent(event);
}

void ValueBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    // The line edit places the caret first; whoever handles clicked() then sees the click done.
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && form::MainForm::isClick(m_presses)
        && rect().contains(event->position().toPoint()))
        emit clicked();
}

// Qt's own menu (createStandardContextMenu) reads the clipboard to decide whether Paste is
// enabled: on X11 that waits for the clipboard's owner, and one that does not answer holds the
// window for seconds. The same entries are built here without a read: Paste is enabled unless
// the program itself holds the clipboard with nothing in it, and reads the clipboard only once
// chosen (Qt then waits for the owner up to its own time limit; an empty clipboard pastes
// nothing). The entries show no keys; keyPressEvent() drops them all.
void ValueBox::contextMenuEvent(QContextMenuEvent *event)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [this, menu](const char *text, bool enabled, auto slot) {
        QAction *action = menu->addAction(QLineEdit::tr(text));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    const bool selected = hasSelectedText();
    const QClipboard *clipboard = QGuiApplication::clipboard();
    add("&Undo", isUndoAvailable(), &QLineEdit::undo);
    add("&Redo", isRedoAvailable(), &QLineEdit::redo);
    menu->addSeparator();
    add("Cu&t", selected, &QLineEdit::cut);
    add("&Copy", selected, &QLineEdit::copy);
    add("&Paste", !clipboard->ownsClipboard() || !clipboard->text().isEmpty(),
        &ValueBox::pasteWhole);
    add("Delete", selected, &QLineEdit::del);
    menu->addSeparator();
    add("Select All", !text().isEmpty() && selectedText() != text(), &QLineEdit::selectAll);
    menu->popup(event->globalPos());
}

void ValueBox::pasteWhole()
{
    // Cut short, a pasted 0000...1 would silently become 0; and a box of megabytes freezes the
    // window, which measures the whole text at every repaint.
    const QString pasted = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    if (pasted.isEmpty())
        return; // nothing to paste: the selection stays
    if (admit(form::MainForm::Route::MenuPaste, pasted) != form::MainForm::Verdict::Take) {
        QApplication::beep();
        return;
    }
    insert(pasted);
}
