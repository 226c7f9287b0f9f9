#pragma once

// The display check made before QApplication exists. Qt ends the program with qFatal (an abort
// and a core dump, after a plugin text of nine lines) when no platform plugin can connect to its
// display; opening the display first lets the program say what is wrong in one line and exit
// with status 1 instead.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct DisplayCheck
{
    // The platform plugins Qt will try, in its order: -platform, then QT_QPA_PLATFORM (a list
    // such as "wayland;xcb" is tried in order; ":options" are left off), then Wayland before
    // the default xcb in a Wayland session, else xcb alone.
    static QStringList platforms(
        const QString &platformOption, const QByteArray &qpaPlatform, bool waylandSession);

    // Empty when one of the platforms can reach its display, or one of them needs none that
    // this check knows (offscreen, for one); otherwise the first one's problem in a few words,
    // such as "cannot open display :99". The X display is the -display value, else $DISPLAY;
    // the Wayland one $WAYLAND_DISPLAY (else wayland-0) in $XDG_RUNTIME_DIR.
    static QString problem(const QStringList &platforms, const QString &displayOption);
};
