#include "app/display_check.h"

#include <QStringList>

#ifdef ORVAN_HAVE_XCB
#include <xcb/xcb.h>
#endif

bool DisplayCheck::usesX11(
    const QString &platformOption, const QByteArray &qpaPlatform, bool waylandSession)
{
    // Qt's order: -platform, then QT_QPA_PLATFORM, then Wayland in a Wayland session, then the
    // default, which is xcb on Debian.
    QString platform = platformOption;
    if (platform.isEmpty())
        platform = QString::fromLocal8Bit(qpaPlatform);
    if (platform.isEmpty())
        return !waylandSession;
    // "xcb:option=value" passes options to the plugin; "wayland;xcb" is tried in order.
    const QStringList entries = platform.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        if (entry.section(QLatin1Char(':'), 0, 0) != QLatin1String("xcb"))
            return false;
    }
    return !entries.isEmpty();
}

QString DisplayCheck::problem(const QString &displayOption)
{
    const QByteArray name
        = displayOption.isEmpty() ? qgetenv("DISPLAY") : displayOption.toLocal8Bit();
    if (name.isEmpty())
        return QStringLiteral("cannot open display: DISPLAY is not set");
#ifdef ORVAN_HAVE_XCB
    // The same library and the same rules (socket, host, authorisation) as Qt's plugin; the
    // connection is closed again at once.
    xcb_connection_t *connection = xcb_connect(name.constData(), nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed)
        return QStringLiteral("cannot open display ") + QString::fromLocal8Bit(name);
#endif
    return {};
}
