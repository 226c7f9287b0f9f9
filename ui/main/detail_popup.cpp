#include "ui/main/detail_popup.h"

DetailPopup::DetailPopup(QWidget *parent)
    : ClickableLabel(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
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
    setText(text);
    setGeometry(place);
    raise();
    show();
}
