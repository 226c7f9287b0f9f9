#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>

class QWidget;
struct xcb_connection_t;

// Puts text on X11's CLIPBOARD selection and sees that the claim holds.
//
// Qt claims the selection with the time of the last X event it handled. When another client
// takes the CLIPBOARD while the program is still working through older events, the X server
// refuses the program's next claim as out of date, and only a warning says so: the window shows
// the new total while a paste brings the other client's text. So once control is back in the
// event loop, the owner asks the server who holds the CLIPBOARD; if it is not this program, it
// gets a current server time (a zero-length append to a property of the window, whose
// PropertyNotify carries the time and, handled by Qt, brings Qt's clock up to it) and claims
// the selection once more. A claim that fails again means a client copied something after that
// time, later than the total: its text rightly stays.
class X11ClipboardOwner : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // The window receives the time probe; it needs a native X window of this program.
    X11ClipboardOwner(xcb_connection_t *connection, QWidget *window);
    ~X11ClipboardOwner() override;

    // A null owner where the program does not run on X11.
    static X11ClipboardOwner *createForX11(QWidget *window);

    void setText(const QString &text);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void verify();
    void reclaim();
    bool ownsClipboard();
    std::uint32_t internAtoms();

    xcb_connection_t *m_connection;
    QPointer<QWidget> m_window;
    QString m_text;
    std::uint32_t m_clipboardAtom = 0;
    std::uint32_t m_probeAtom = 0;
    std::uint32_t m_probeWindow = 0;
    bool m_verifyPending = false;
    bool m_probing = false;
    bool m_retried = false;
};
