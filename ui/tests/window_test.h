#pragma once

// What the window tests share: quiet platform chatter, find controls and windows by their
// names, and a designed place in pixels.

#include "form/twips.h"

#include <QApplication>
#include <QObject>
#include <QRect>
#include <QString>
#include <QWidget>
#include <QtGlobal>

namespace window_test {

// The offscreen platform reports each window feature it lacks (size hints, raise, keyboard
// grab) every time; those lines would bury the ones that matter. Drops them, passes the rest.
inline void quietPlatformChatter()
{
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (!text.startsWith(QLatin1String("This plugin does not support")))
                previous(type, context, text);
        });
}

// The control of that object name under parent; a missing one ends the test program, since
// every check after it would be meaningless.
template <typename T = QWidget> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// A place designed in twips, in the pixels a window of the design's 96 dpi has.
inline QRect pixels(const twips::Rect &r)
{
    return QRect(twips::px(r.left), twips::px(r.top), twips::px(r.width), twips::px(r.height));
}

// The About windows while they exist, or only those shown: the top-level windows named frmAbout.
inline QWidgetList aboutWindows(bool shownOnly = false)
{
    QWidgetList found;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("frmAbout")
            && (window->isVisible() || !shownOnly))
            found << window;
    }
    return found;
}

// The About window while it exists; else nullptr.
inline QWidget *aboutWindow()
{
    return aboutWindows().value(0);
}

} // namespace window_test
