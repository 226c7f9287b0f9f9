#include "ui/main/clickable_label_accessible.h"

#include "ui/main/clickable_label.h"
#include "ui/main/detail_popup.h"

namespace {

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    // Qt asks with each class name from the object's own up to QObject: the popup answers as
    // DetailPopup before it could as ClickableLabel.
    if (className == QLatin1String("DetailPopup") || className == QLatin1String("ClickableLabel"))
        return new ClickableLabelAccessible(static_cast<ClickableLabel *>(object));
    return nullptr;
}

} // namespace

ClickableLabelAccessible::ClickableLabelAccessible(ClickableLabel *label)
    : QAccessibleWidget(
        label, qobject_cast<DetailPopup *>(label) ? QAccessible::ToolTip : QAccessible::StaticText)
{ }

void ClickableLabelAccessible::install()
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(factory), true);
}

ClickableLabel *ClickableLabelAccessible::label() const
{
    return static_cast<ClickableLabel *>(widget());
}

QString ClickableLabelAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && label()->accessibleName().isEmpty())
        return label()->text();
    return QAccessibleWidget::text(t);
}

QStringList ClickableLabelAccessible::actionNames() const
{
    return QStringList { pressAction() } + QAccessibleWidget::actionNames();
}

QString ClickableLabelAccessible::localizedActionDescription(const QString &name) const
{
    if (name != pressAction())
        return QAccessibleWidget::localizedActionDescription(name);
    return role() == QAccessible::ToolTip ? QStringLiteral("Closes the explanation")
                                          : QStringLiteral("Opens the flag's explanation");
}

void ClickableLabelAccessible::doAction(const QString &name)
{
    if (name == pressAction())
        label()->click();
    else
        QAccessibleWidget::doAction(name);
}
