#include "ui/main/value_box.h"

#include "form/main_form.h"

#include <QKeyEvent>
#include <QMouseEvent>

ValueBox::ValueBox(QWidget *parent)
    : QLineEdit(parent)
{
    // Digits come in by typing only, so none may arrive by dropping text on the box or
    // through an input method's commit (which bypasses keyPressEvent).
    setAcceptDrops(false);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool ValueBox::isBlocked(const QKeyEvent *event)
{
    // Clipboard, undo and select-all commands, whatever key produces them on this platform
    // (Shift+Insert pastes, Ctrl+Insert copies and Shift+Delete cuts: no character, so the
    // character test below would let them through).
    static const QKeySequence::StandardKey Commands[] = {
        QKeySequence::Paste, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Undo,
        QKeySequence::Redo, QKeySequence::SelectAll,
        QKeySequence::DeleteEndOfLine, // Ctrl+K on X11 also copies what it deletes
    };
    for (QKeySequence::StandardKey command : Commands) {
        if (event->matches(command))
            return true;
    }

    // Delete is a key without a character, although X11 gives it the text "\x7f".
    if (event->key() == Qt::Key_Delete)
        return false;

    const QString text = event->text();
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (!form::MainForm::acceptsCharacter(c.unicode()))
            return true;
    }
    return false;
}

void ValueBox::keyPressEvent(QKeyEvent *event)
{
    if (isBlocked(event)) {
        // Swallow it: passing it on would let the window treat it as a shortcut.
        event->accept();
        return;
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

void ValueBox::mousePressEvent(QMouseEvent *event)
{
    // The middle button would paste X11's selection.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void ValueBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    // The line edit places the caret first; whoever handles clicked() then sees the click done.
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
