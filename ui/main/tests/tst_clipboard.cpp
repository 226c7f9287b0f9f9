// On a real X server: a total the program puts on the CLIPBOARD stays there even when another
// client took the selection after the last X event the program handled. QtTest's clicks reach
// the window without passing through the X server, so Qt's clock stays at its last X event, as
// it does in a program still working through older events; its claim then goes out with a time
// older than the other client's, and the server refuses it.

#include "ui/main/appearance.h"
#include "ui/main/main_window.h"
#include "ui/tests/window_test.h"

#include <QCheckBox>
#include <QScopeGuard>
#include <QThread>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

// An xcb reply, freed as xcb asks.
template <typename T> std::unique_ptr<T, decltype(&std::free)> owned(T *reply)
{
    return { reply, &std::free };
}

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

// Another client takes the CLIPBOARD after the window's last X event, as xclip does, at the
// server's current time; a tick then takes it back. (That the program takes it with no other
// client there is x11_typing.sh's and x11_signals.sh's.)
void TestClipboard::claimHolds()
{
    const Appearance appearance;
    MainWindow window(appearance);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    xcb_connection_t *other = xcb_connect(nullptr, nullptr);
    const auto disconnect = qScopeGuard([other] { xcb_disconnect(other); });
    const xcb_window_t otherWindow = xcb_generate_id(other);
    xcb_create_window(other, XCB_COPY_FROM_PARENT, otherWindow,
        xcb_setup_roots_iterator(xcb_get_setup(other)).data->root, 0, 0, 1, 1, 0,
        XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t clipboard
        = owned(xcb_intern_atom_reply(other, xcb_intern_atom(other, 0, 9, "CLIPBOARD"), nullptr))
              ->atom;
    const auto owner = [&] {
        return owned(xcb_get_selection_owner_reply(
                         other, xcb_get_selection_owner(other, clipboard), nullptr))
            ->owner;
    };
    // The server's clock counts milliseconds: let it move on from the window's last event.
    QThread::msleep(20);
    xcb_set_selection_owner(other, otherWindow, clipboard, XCB_CURRENT_TIME);
    QCOMPARE(owner(), otherWindow);
    auto *box = window_test::child<QCheckBox>(&window, QStringLiteral("Check1_3"));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QVERIFY(box->isChecked());

    // Held by a window of the program: one whose id carries the program's resource id base.
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const xcb_setup_t *setup = xcb_get_setup(x11->connection());
    QTRY_COMPARE(owner() & ~setup->resource_id_mask, setup->resource_id_base);
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
