#include "ui/main/flag_box.h"

FlagBox::FlagBox(const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent)
{ }

bool FlagBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
