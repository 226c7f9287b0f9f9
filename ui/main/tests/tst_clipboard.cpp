// On a real X server: a total the program puts on the CLIPBOARD stays there even when another
// client took the selection after the last X event the program handled. QtTest's clicks reach
// the window without passing through the X server, so Qt's clock stays at its last X event, as
// it does in a program still working through older events; its claim then goes out with a time
// older than the other client's, and the server refuses it.

#include "ui/main/appearance.h"
#include "ui/main/main_window.h"
#include "ui/tests/window_test.h"

#include <QCheckBox>
#include <QThread>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

// A second client of the same X server, as another program.
class OtherClient
{
public:
    OtherClient()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        const xcb_setup_t *setup = xcb_get_setup(m_connection);
        m_window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window,
            xcb_setup_roots_iterator(setup).data->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
            XCB_COPY_FROM_PARENT, 0, nullptr);
        const char name[] = "CLIPBOARD";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(
                m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr),
            &std::free);
        m_clipboard = atom ? atom->atom : XCB_NONE;
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    // Takes the CLIPBOARD now, as xclip does, at the server's current time.
    void takeClipboard()
    {
        xcb_set_selection_owner(m_connection, m_window, m_clipboard, XCB_CURRENT_TIME);
    }
    xcb_window_t clipboardOwner()
    {
        std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
            xcb_get_selection_owner_reply(
                m_connection, xcb_get_selection_owner(m_connection, m_clipboard), nullptr),
            &std::free);
        return reply ? reply->owner : XCB_NONE;
    }
    xcb_window_t window() const { return m_window; }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_window = XCB_NONE;
    xcb_atom_t m_clipboard = XCB_NONE;
};

} // namespace

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void claimHolds();
};

void TestClipboard::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run through run_on_xvfb.sh)");
}

// The other client takes the CLIPBOARD after the window's last X event; a tick then takes it
// back. (That the program takes it with no other client there is x11_typing.sh's and
// x11_signals.sh's.)
void TestClipboard::claimHolds()
{
    const Appearance appearance;
    MainWindow window(appearance);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    OtherClient other;
    // The server's clock counts milliseconds: let it move on from the window's last event.
    QThread::msleep(20);
    other.takeClipboard();
    QCOMPARE(other.clipboardOwner(), other.window());
    auto *box = window_test::child<QCheckBox>(&window, QStringLiteral("Check1_3"));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QVERIFY(box->isChecked());

    // Held by a window of the program: one whose id carries the program's resource id base.
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const xcb_setup_t *setup = xcb_get_setup(x11->connection());
    QTRY_COMPARE(other.clipboardOwner() & ~setup->resource_id_mask, setup->resource_id_base);
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
