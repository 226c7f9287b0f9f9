#include "ui/main/detail_popup.h"

#include <QAccessible>

DetailPopup::DetailPopup(QWidget *parent)
    : ClickableLabel(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain); // a frame's line is 1 pixel wide
    // No indent beside the frame: the heights were designed for the full inner width.
    setIndent(0);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::WindowText); // the labels' text colour
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Shown exactly as written: no character may turn the text into markup.
    setTextFormat(Qt::PlainText);
}

void DetailPopup::showText(const QString &text, const QRect &place)
{
    const bool wasShown = isVisible();
    setText(text);
    setGeometry(place);
    raise();
    show();
    // Showing a hidden widget tells screen readers by itself (AT-SPI's "showing" state); a popup
    // that was open already and only takes another flag's text must say so too, or they would
    // not read the new explanation.
    if (wasShown && QAccessible::isActive()) {
        QAccessibleEvent shown(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}
