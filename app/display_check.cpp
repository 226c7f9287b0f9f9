#include "app/display_check.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#ifdef ORVAN_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace {

QString x11Problem(const QString &displayOption)
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

// libwayland-client's rules: a socket named by $WAYLAND_DISPLAY (wayland-0 if unset) in
// $XDG_RUNTIME_DIR, or the path itself where the name is absolute. A connection handed down in
// $WAYLAND_SOCKET is left to Qt.
QString waylandProblem()
{
    if (qEnvironmentVariableIsSet("WAYLAND_SOCKET"))
        return {};
    QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty())
        name = "wayland-0";
    const QString problem
        = QStringLiteral("cannot open Wayland display ") + QString::fromLocal8Bit(name);
    QByteArray path = name;
    if (!name.startsWith('/')) {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return problem + QStringLiteral(": XDG_RUNTIME_DIR is not set");
        path = runtime + '/' + name;
    }
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return problem;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool failed = socket < 0
        || ::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0;
    if (socket >= 0)
        ::close(socket);
    return failed ? problem : QString();
}

} // namespace

QStringList DisplayCheck::platforms(
    const QString &platformOption, const QByteArray &qpaPlatform, bool waylandSession)
{
    QString platform = platformOption;
    if (platform.isEmpty())
        platform = QString::fromLocal8Bit(qpaPlatform);
    if (platform.isEmpty())
        platform = waylandSession ? QStringLiteral("wayland;xcb") : QStringLiteral("xcb");
    QStringList names;
    for (const QString &entry : platform.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        names << entry.section(QLatin1Char(':'), 0, 0);
    return names;
}

QString DisplayCheck::problem(const QStringList &platforms, const QString &displayOption)
{
    QString first;
    for (const QString &name : platforms) {
        QString problem;
        if (name == QLatin1String("xcb"))
            problem = x11Problem(displayOption);
        else if (name.startsWith(QLatin1String("wayland")))
            problem = waylandProblem();
        if (problem.isEmpty())
            return {};
        if (first.isEmpty())
            first = problem;
    }
    return first;
}
