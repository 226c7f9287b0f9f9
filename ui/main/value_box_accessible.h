#pragma once

#include <QAccessibleWidget>

class ValueBox;

// What a screen reader sees of the value box: an editable text named "Current unk 4 value",
// whose text calls all answer at once. Qt 6.4's own line-edit interface never returns from the
// word, sentence and line at the end of the text, and gives each character a text-attribute run
// of its own, so that screen readers cut the last digit; here the pieces are found in one walk
// forward through the text, and the whole text is one run. Text a screen reader inserts goes
// through setText(), where the box keeps to digits (ValueBox).
class ValueBoxAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit ValueBoxAccessible(ValueBox *box);

    // Makes Qt build this interface for the value box; once is enough, more is harmless.
    static void install();

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
        int *startOffset, int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
        int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
        int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    ValueBox *box() const;
    // The piece `step` pieces away from the one at `offset` (0: that one, -1: the one before),
    // with its place; offsets outside the text give nothing, at -1.
    QString piece(int offset, int step, QAccessible::TextBoundaryType type, int *startOffset,
        int *endOffset) const;
};
