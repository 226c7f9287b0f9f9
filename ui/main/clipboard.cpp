#include "ui/main/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#ifdef ORVAN_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

} // namespace
#endif

Clipboard::Clipboard(QWidget *window)
    : QObject(window)
    , m_window(window)
{
#ifdef ORVAN_HAVE_XCB
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection()) {
        m_connection = x11->connection();
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
#endif
}

void Clipboard::setText(const QString &text)
{
    m_text = text;
    m_retried = false;
    write();
    if (m_connection)
        checkSoon();
}

void Clipboard::checkSoon()
{
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, &Clipboard::checkClaim);
}

void Clipboard::write()
{
    // A new QMimeData each time, so Qt claims the selection again even for the same text.
    QGuiApplication::clipboard()->setText(m_text, QClipboard::Clipboard);
}

void Clipboard::checkClaim()
{
    m_pending = false;
#ifdef ORVAN_HAVE_XCB
    if (m_probing || ownsClipboard() || !m_window)
        return;
    if (m_retried) {
        qWarning("The CLIPBOARD was taken by another program after the total was put on it");
        return;
    }
    // QClipboard::ownsClipboard() cannot tell: Qt counts a refused claim as its own until the
    // server's SelectionClear arrives, and none comes when the program held no claim before.
    m_probeWindow = static_cast<std::uint32_t>(m_window->winId());
    const std::uint8_t none = 0;
    xcb_change_property(m_connection, XCB_PROP_MODE_APPEND, m_probeWindow, m_probeAtom,
        XCB_ATOM_INTEGER, 8, 0, &none);
    xcb_flush(m_connection);
    m_probing = true;
#endif
}

bool Clipboard::nativeEventFilter(
    [[maybe_unused]] const QByteArray &eventType, [[maybe_unused]] void *message, qintptr *)
{
#ifdef ORVAN_HAVE_XCB
    if (!m_probing || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
    if (notify->window != m_probeWindow || notify->atom != m_probeAtom)
        return false;
    // Qt handles the event once this returns, and takes its time as the latest; the claim
    // goes out after that.
    m_probing = false;
    QMetaObject::invokeMethod(this, &Clipboard::reclaim, Qt::QueuedConnection);
#endif
    return false;
}

void Clipboard::reclaim()
{
    write();
    m_retried = true;
    checkSoon();
}

#ifdef ORVAN_HAVE_XCB
// Only checkClaim() asks these, and only with X11.
bool Clipboard::ownsClipboard()
{
    if (!m_clipboardAtom && !internAtoms())
        return true; // nothing to go by: leave it to Qt
    Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, m_clipboardAtom), nullptr));
    if (!reply)
        return true;
    // Qt claims the selection for a window of its own; every window this connection creates
    // carries the connection's resource id base.
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    return (reply->owner & ~setup->resource_id_mask) == setup->resource_id_base;
}

std::uint32_t Clipboard::internAtoms()
{
    const auto intern = [this](const char *name) {
        return xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(qstrlen(name)), name);
    };
    const xcb_intern_atom_cookie_t clipboard = intern("CLIPBOARD");
    const xcb_intern_atom_cookie_t probe = intern("ORVANUNK4_TIME_PROBE");
    Reply<xcb_intern_atom_reply_t> clipboardReply(
        xcb_intern_atom_reply(m_connection, clipboard, nullptr));
    Reply<xcb_intern_atom_reply_t> probeReply(xcb_intern_atom_reply(m_connection, probe, nullptr));
    if (clipboardReply && probeReply) {
        m_clipboardAtom = clipboardReply->atom;
        m_probeAtom = probeReply->atom;
    }
    return m_clipboardAtom;
}
#endif
