#pragma once

#include <QLineEdit>

// The value box: a line edit that takes decimal digits by typing only.
//
// Keys that produce a character other than 0-9 do nothing, and neither do the clipboard and
// undo shortcuts (Qt treats Ctrl+C/V/X/Z/A and Shift+Insert, Ctrl+Insert and Shift+Delete as
// commands, not characters). Keys that produce no character (Delete, arrows, Home, End) edit
// as usual. Text from an input method (dead keys, Compose, ibus) meets the same rule: a commit
// enters only if every character of it is a digit, and text being composed is shown only while
// it is all digits. Middle-click paste and drag-and-drop are off; the context menu stays, with
// its entries alone (their keys do nothing here), and its Paste takes the clipboard's text
// whole, or not at all where the box would then hold more than it takes (a beep says so); it is
// the one way in for other characters, so text set by any other route (a screen reader's
// editable-text calls) that would add one is put back. Every left click, on release, emits
// clicked() after the line edit has placed the caret.
class ValueBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit ValueBox(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void pasteWhole();
    void keepToDigits(const QString &text);
    static int nonDigits(const QString &text);
    static bool isBlocked(const QKeyEvent *event);
    static bool acceptsTyped(const QString &text);

    QString m_accepted; // the text as it last stood within the rules
    bool m_pasting = false;
};
