#pragma once

#include <QCheckBox>

// A flag's check box. A click anywhere in its rectangle toggles it, as the classic check box
// does; Qt's own takes only clicks on the box and its caption's text.
class FlagBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit FlagBox(const QString &caption, QWidget *parent = nullptr);

protected:
    bool hitButton(const QPoint &pos) const override;
};
