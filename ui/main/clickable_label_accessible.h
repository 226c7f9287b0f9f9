#pragma once

#include <QAccessibleWidget>

class ClickableLabel;

// What a screen reader sees of a clickable label: its text as the name and a Press action that
// clicks it, so that a flag's explanation opens (and the popup closes) without a mouse. A flag
// description is a label; the detail popup is a tool tip, which screen readers read out when it
// shows.
class ClickableLabelAccessible : public QAccessibleWidget
{
public:
    explicit ClickableLabelAccessible(ClickableLabel *label);

    // Makes Qt build this interface for every clickable label; once is enough, more is harmless.
    static void install();

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    QString localizedActionDescription(const QString &name) const override;
    void doAction(const QString &name) override;

private:
    ClickableLabel *label() const;
};
