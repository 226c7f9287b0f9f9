#pragma once

// The X server check made before QApplication exists. Qt's X11 plugin ends the program with
// qFatal (an abort and a core dump) when it cannot connect; opening the display first lets the
// program say what is wrong in one line and exit with status 1 instead.

#include <QByteArray>
#include <QString>

struct DisplayCheck
{
    // Whether Qt will certainly use its X11 (xcb) plugin: named by -platform or QT_QPA_PLATFORM
    // (every entry, where a list is given), or chosen by default outside a Wayland session.
    static bool usesX11(
        const QString &platformOption, const QByteArray &qpaPlatform, bool waylandSession);

    // Empty when the X display (the -display value, else $DISPLAY) opens; otherwise the problem
    // in a few words, such as "cannot open display :99".
    static QString problem(const QString &displayOption);
};
