#pragma once

#include <QLabel>

// A label that reports a left click (press and release on it) with clicked(). The flag
// descriptions and the detail popup are clickable labels.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
