#pragma once

#include <QLabel>

// A label that reports a left click (press and release on it) with clicked(). The second click
// of a double-click is not a click: double-clicking a description leaves its explanation open
// rather than closing it at once. The flag descriptions and the detail popup are clickable
// labels. Screen readers get the click as the label's accessible Press action
// (clickable_label_accessible.h).
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget *parent = nullptr);

    // Reports a click, as a mouse click on the label does.
    void click();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int m_presses = -1; // of the left button in this series, -1 when it was not pressed here
};
