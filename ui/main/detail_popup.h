#pragma once

#include "ui/main/clickable_label.h"

// The detail popup, Label1: a flat-framed panel in the tooltip colours that shows a flag's long
// explanation. It keeps the place it is given, wraps the text within its width and clips it at
// its lower edge; the text is shown exactly as written, CR LF breaks and runs of spaces kept.
// A click on it reports clicked(). Screen readers see it as a tool tip, named by its text, and
// are told each time it opens.
class DetailPopup : public ClickableLabel
{
    Q_OBJECT

public:
    explicit DetailPopup(QWidget *parent = nullptr);

    // Refills and moves the popup (a rectangle in logical pixels) and shows it above its
    // siblings, telling screen readers.
    void showText(const QString &text, const QRect &place);
};
