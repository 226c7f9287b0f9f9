#include "ui/about/picture_box.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    // The Windows-style panel is the classic two-line 3-D border, whatever the widget style.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::TabFocus);
}

void PictureBox::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    fitToPicture();
    updateGeometry();
    update();
}

void PictureBox::setAutoSize(bool on)
{
    m_autoSize = on;
    fitToPicture();
}

QSize PictureBox::sizeHint() const
{
    if (m_picture.isNull())
        return QFrame::sizeHint();
    const int border = 2 * frameWidth();
    return m_picture.deviceIndependentSize().toSize() + QSize(border, border);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event); // the border
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const QRect inner = contentsRect();
    painter.setClipRect(inner);
    painter.drawPixmap(inner.topLeft(), m_picture);
}

void PictureBox::fitToPicture()
{
    if (m_autoSize && !m_picture.isNull())
        resize(sizeHint());
}
