#include "ui/main/announcer.h"

#include <QAccessible>
#include <QAccessibleObject>

namespace {

// The notification: named by the last text said, within the window it speaks for.
class AnnouncerAccessible : public QAccessibleObject
{
public:
    explicit AnnouncerAccessible(Announcer *announcer)
        : QAccessibleObject(announcer)
    { }

    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<Announcer *>(object())->text() : QString();
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Announcer"))
        return new AnnouncerAccessible(static_cast<Announcer *>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QObject *parent)
    : QObject(parent)
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(factory), true);
}

void Announcer::say(const QString &text)
{
    m_text = text;
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
