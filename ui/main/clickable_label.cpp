#include "ui/main/clickable_label.h"

#include "form/main_form.h"
#include "ui/main/clickable_label_accessible.h"

#include <QMouseEvent>

ClickableLabel::ClickableLabel(QWidget *parent)
    : QLabel(parent)
{
    ClickableLabelAccessible::install();
}

void ClickableLabel::click()
{
    emit clicked();
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    // Take the press, so that it does not reach whatever lies beneath.
    event->accept();
    m_presses = event->button() == Qt::LeftButton ? 1 : -1;
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool click = m_presses > 0 && form::MainForm::isClick(m_presses)
        && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_presses = -1;
    if (click)
        this->click();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    m_presses = event->button() == Qt::LeftButton ? 2 : -1;
}
