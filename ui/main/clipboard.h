#pragma once

// How the program writes the system clipboard on Linux: plain text on the CLIPBOARD selection,
// and what each platform needs for the last total to be the one another program pastes, also
// after the program has ended.
//
// - X11: Qt claims the selection with the time of the last X event it handled. When another
//   client takes the CLIPBOARD while the program is still working through older events, the X
//   server refuses the program's next claim as out of date, and only a warning says so: the
//   window shows the new total while a paste brings the other client's text. So once control
//   is back in the event loop, the clipboard asks the server who holds the CLIPBOARD; if it is
//   not this program, it gets a current server time (a zero-length append to a property of the
//   window, whose PropertyNotify carries the time and, handled by Qt, brings Qt's clock up to
//   it) and claims the selection once more. A claim that fails again means a client copied
//   something after that time, later than the total: its text rightly stays.
// - Wayland: a compositor may take one clipboard offer per input event (weston ignores a second
//   one with the same event serial, while Qt has already withdrawn the first); the form writes
//   the clipboard once per user action, so one offer per event is all there is.
// - At the end, the program's entry closes the windows and leaves the event loop, so that
//   main() returns normally and QClipboard's destructor hands the last total to the desktop's
//   clipboard manager (X11).

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>

class QWidget;
struct xcb_connection_t;

class Clipboard : public QObject, private QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // The window receives X11's time probe; it needs a native window of this program.
    explicit Clipboard(QWidget *window);

    // Puts the text on the CLIPBOARD at once.
    void setText(const QString &text);

private:
    // Once control is back in the event loop: X11's check of the claim.
    void checkSoon();
    void checkClaim();
    void write();
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
    void reclaim();
    bool ownsClipboard();
    std::uint32_t internAtoms();

    QPointer<QWidget> m_window;
    QString m_text;
    bool m_pending = false; // checkClaim() is queued

    // X11
    xcb_connection_t *m_connection = nullptr;
    std::uint32_t m_clipboardAtom = 0;
    std::uint32_t m_probeAtom = 0;
    std::uint32_t m_probeWindow = 0;
    bool m_probing = false;
    bool m_retried = false;
};
