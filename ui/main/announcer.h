#pragma once

#include <QObject>
#include <QString>

// Says short texts to screen readers without showing them: the running total, GO's result, an
// explanation opened from the menu.
//
// Qt 6.4 has no announcement event. The announcer is an object without pixels that screen
// readers see as a notification named by the text (ValueBox's and the labels' interfaces are
// widgets; this one is not), and each text is sent as that notification showing, which Orca
// speaks whatever has the focus.
class Announcer : public QObject
{
    Q_OBJECT

public:
    explicit Announcer(QObject *parent);

    void say(const QString &text);
    QString text() const { return m_text; }

private:
    QString m_text;
};
