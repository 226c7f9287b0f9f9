// Whole sessions as a user lives them, inside the program's event loop: type a value, GO, tick a
// box, open and close a popup, open the About window; then each of the three ways to end, with
// the About window open. It runs on its own and, where valgrind is
// installed, under memcheck.

#include "app/program_end.h"
#include "ui/main/appearance.h"
#include "ui/main/main_window.h"
#include "ui/tests/window_test.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void session_data();
    void session();
};

// Cancel and File > Exit leave the event loop at once, closing the About window too. The
// title bar's close button closes the main window only: the About window (parentless) keeps
// the program running until it is closed too.
void TestSession::session_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "Cancel";
    QTest::newRow("File > Exit") << "Exit";
    QTest::newRow("close button") << "close";
}

void TestSession::session()
{
    QFETCH(QString, how);
    const Appearance appearance;
    MainWindow window(appearance);
    const ProgramEnd end(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto control = [&](const char *name) { return window_test::child(&window, name); };
    auto *popup = window_test::child<QLabel>(&window, "Label1");

    QStringList seen;
    QPointer<QWidget> aboutWindow;
    bool aboutLeft = false;
    QObject timers; // stops the timers below should the loop end first
    QTimer::singleShot(0, &timers, [&] {
        QTest::mouseClick(control("Text1"), Qt::LeftButton);
        QTest::keyClicks(control("Text1"), QStringLiteral("1040"));
        QTest::mouseClick(control("cmdGo"), Qt::LeftButton);
        seen << QGuiApplication::clipboard()->text();
        QWidget *box = control("Check1_0");
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        seen << QGuiApplication::clipboard()->text();
        QTest::mouseClick(control("Label3_10"), Qt::LeftButton, {}, QPoint(5, 5));
        seen << (popup->isVisible() ? QStringLiteral("popup shown") : QStringLiteral("no popup"));
        QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(5, 5));
        seen << (popup->isVisible() ? QStringLiteral("popup shown") : QStringLiteral("no popup"));
        window_test::child<QAction>(&window, "mnuHelpAbout")->trigger();
        aboutWindow = window_test::aboutWindow();
        seen << (aboutWindow && aboutWindow->isVisible() ? "About shown" : "no About");

        if (how == QLatin1String("Exit"))
            window_test::child<QAction>(&window, "mnuFileExit")->trigger();
        else if (how == QLatin1String("Cancel"))
            QTest::mouseClick(control("cmdCancel"), Qt::LeftButton);
        else
            window.windowHandle()->close();
    });
    QTimer::singleShot(100, &timers, [&] {
        aboutLeft = aboutWindow && aboutWindow->isVisible();
        if (aboutWindow)
            aboutWindow->close();
    });
    QTimer::singleShot(5000, &timers, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(seen, (QStringList { "1040", "1041", "popup shown", "no popup", "About shown" }));
    QCOMPARE(aboutLeft, how == QLatin1String("close"));
    QVERIFY(!aboutWindow);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
