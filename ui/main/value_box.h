#pragma once

#include "form/main_form.h"

#include <QLineEdit>

// The value box: a line edit that takes decimal digits by typing only.
//
// The box reports each way text would come in (a key's character, a key's clipboard or undo
// command, the context menu's Paste, an input method's text) to the form, which decides
// (MainForm::admit) and is obeyed; a refusal beeps. Keys that produce no character (Delete,
// arrows, Home, End) edit as usual. Text being composed is shown only while the form would take
// it. Middle-click paste and drag-and-drop are off; the context menu stays, with its entries
// alone (their keys do nothing here); its Paste is the one way in for other characters. A screen
// reader's edits come through putText(), decided as inserted text. Every left click, on release,
// emits clicked() after the line edit has placed the caret; the second press of a double click
// makes no click.
class ValueBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit ValueBox(QWidget *parent = nullptr);

    // A screen reader's edit: `text` in place of the characters from `start` to `end`, taken
    // whole if the form admits it, else nothing changes.
    void putText(int start, int end, const QString &text);
    // Where the character at `offset` is drawn, in the box's own coordinates.
    QRect characterRect(int offset) const;

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void pasteWhole();
    form::MainForm::Verdict admit(
        form::MainForm::Route route, const QString &text, qsizetype replaced = -1) const;

    int m_presses = 1; // of the left button in this series
};
