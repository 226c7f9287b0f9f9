#include "ui/main/value_box_accessible.h"

#include "ui/main/value_box.h"

#include <QTextBoundaryFinder>

#include <utility>
#include <vector>

namespace {

using Piece = std::pair<int, int>; // [start, end)

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ValueBox"))
        return new ValueBoxAccessible(static_cast<ValueBox *>(object));
    return nullptr;
}

// The pieces a boundary type cuts the text into, covering it whole and in order: characters
// (as the user sees them), words each with the spaces after it, sentences; a line, a paragraph
// or no boundary is the whole text, which a one-line box holds in one. Every step of the walk
// moves forward, so it ends at the end of any text.
std::vector<Piece> pieces(const QString &text, QAccessible::TextBoundaryType type)
{
    const int length = static_cast<int>(text.size());
    if (length == 0)
        return {};
    QTextBoundaryFinder::BoundaryType finderType = QTextBoundaryFinder::Grapheme;
    switch (type) {
    case QAccessible::CharBoundary:
        break;
    case QAccessible::WordBoundary:
        finderType = QTextBoundaryFinder::Word;
        break;
    case QAccessible::SentenceBoundary:
        finderType = QTextBoundaryFinder::Sentence;
        break;
    default:
        return { { 0, length } };
    }
    QTextBoundaryFinder finder(finderType, text);
    std::vector<Piece> result;
    int start = 0;
    for (int next = finder.toNextBoundary(); next > start && next < length;
         next = finder.toNextBoundary()) {
        // A word runs from its start to the next word's start.
        if (type == QAccessible::WordBoundary
            && !(finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
            continue;
        result.emplace_back(start, next);
        start = next;
    }
    result.emplace_back(start, length);
    return result;
}

} // namespace

ValueBoxAccessible::ValueBoxAccessible(ValueBox *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{ }

void ValueBoxAccessible::install()
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(factory), true);
}

ValueBox *ValueBoxAccessible::box() const
{
    return static_cast<ValueBox *>(widget());
}

QAccessible::State ValueBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !box()->isReadOnly();
    state.readOnly = box()->isReadOnly();
    state.selectableText = true;
    return state;
}

QString ValueBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return box()->text();
    return QAccessibleWidget::text(t);
}

void ValueBoxAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value)
        box()->putText(0, characterCount(), text);
    else
        QAccessibleWidget::setText(t, text);
}

void *ValueBoxAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void ValueBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const bool selected = selectionIndex == 0 && box()->hasSelectedText();
    *startOffset = selected ? box()->selectionStart() : 0;
    *endOffset = selected ? box()->selectionEnd() : 0;
}

int ValueBoxAccessible::selectionCount() const
{
    return box()->hasSelectedText() ? 1 : 0;
}

void ValueBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void ValueBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        box()->deselect();
}

void ValueBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box()->setSelection(startOffset, endOffset - startOffset);
}

int ValueBoxAccessible::cursorPosition() const
{
    return box()->cursorPosition();
}

void ValueBoxAccessible::setCursorPosition(int position)
{
    box()->setCursorPosition(position);
}

QString ValueBoxAccessible::text(int startOffset, int endOffset) const
{
    if (endOffset < 0)
        endOffset = characterCount();
    if (startOffset < 0 || startOffset > endOffset)
        return QString();
    return box()->text().mid(startOffset, endOffset - startOffset);
}

QString ValueBoxAccessible::piece(int offset, int step, QAccessible::TextBoundaryType type,
    int *startOffset, int *endOffset) const
{
    const QString whole = box()->text();
    const int length = static_cast<int>(whole.size());
    if (offset == -1) // the end, as Qt's own interfaces take it
        offset = length;
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > length)
        return QString();

    const std::vector<Piece> all = pieces(whole, type);
    const int count = static_cast<int>(all.size());
    // The piece at the offset; the end of the text is past the last character, but within the
    // last word, sentence or line.
    int at = 0;
    while (at < count && all[at].second <= offset)
        ++at;
    if (at == count && type != QAccessible::CharBoundary && count > 0)
        at = count - 1;
    const int wanted = at + step;
    if (wanted < 0 || wanted >= count) {
        // Nothing there: an empty piece where the text begins or ends.
        *startOffset = *endOffset = wanted < 0 ? 0 : length;
        return QString();
    }
    *startOffset = all[wanted].first;
    *endOffset = all[wanted].second;
    return whole.mid(*startOffset, *endOffset - *startOffset);
}

QString ValueBoxAccessible::textBeforeOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    return piece(offset, -1, boundaryType, startOffset, endOffset);
}

QString ValueBoxAccessible::textAfterOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    return piece(offset, 1, boundaryType, startOffset, endOffset);
}

QString ValueBoxAccessible::textAtOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    return piece(offset, 0, boundaryType, startOffset, endOffset);
}

int ValueBoxAccessible::characterCount() const
{
    return static_cast<int>(box()->text().size());
}

QRect ValueBoxAccessible::characterRect(int offset) const
{
    const QRect place = box()->characterRect(offset);
    return QRect(box()->mapToGlobal(place.topLeft()), place.size());
}

int ValueBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    return box()->cursorPositionAt(box()->mapFromGlobal(point));
}

void ValueBoxAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    box()->setCursorPosition(endIndex);
    box()->setCursorPosition(startIndex);
}

// One run of the box's single font and colour over the whole text, so that a screen reader
// reading run by run reaches the last character.
QString ValueBoxAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    const int length = characterCount();
    if (offset == -1)
        offset = length;
    const bool inside = offset >= 0 && offset <= length;
    *startOffset = inside ? 0 : -1;
    *endOffset = inside ? length : -1;
    return QString();
}

void ValueBoxAccessible::deleteText(int startOffset, int endOffset)
{
    box()->putText(startOffset, endOffset, QString());
}

void ValueBoxAccessible::insertText(int offset, const QString &text)
{
    box()->putText(offset, offset, text);
}

void ValueBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    box()->putText(startOffset, endOffset, text);
}
