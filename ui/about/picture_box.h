#pragma once

#include <QFrame>
#include <QPixmap>

// A picture box: a sunken 3-D border, 2 pixels wide, around a picture drawn at its own size at
// the top-left corner of the inner area and clipped to it. It can take the focus by Tab only.
class PictureBox : public QFrame
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // Sets the picture; with auto-size on, the box then fits itself to it plus the border,
    // keeping its top-left corner.
    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }

    void setAutoSize(bool on);
    bool autoSize() const { return m_autoSize; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fitToPicture();

    QPixmap m_picture;
    bool m_autoSize = false;
};
