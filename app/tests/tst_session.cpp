// One whole session as a user lives it, from start to File > Exit inside the event loop:
// type a value, GO, tick a box, open and close a popup, open and close the About window. Then
// the three ways to end, with the About window open. It runs on its own and, where valgrind is
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
    void typeGoTickPopupAboutExit();
    void endProgram_data();
    void endProgram();
};

void TestSession::typeGoTickPopupAboutExit()
{
    const Appearance appearance;
    auto *window = new MainWindow(appearance);
    window->setAttribute(Qt::WA_DeleteOnClose);
    const ProgramEnd end(*window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    auto *value = window_test::child<QLineEdit>(window, "Text1");
    auto *go = window_test::child<QPushButton>(window, "cmdGo");
    auto *box0 = window_test::child<QCheckBox>(window, "Check1_0");
    auto *description = window_test::child<QLabel>(window, "Label3_10");
    auto *popup = window_test::child<QLabel>(window, "Label1");
    auto *about = window_test::child<QAction>(window, "mnuHelpAbout");
    auto *exit = window_test::child<QAction>(window, "mnuFileExit");

    QStringList seen;
    bool aboutWasOpen = false;
    // The script runs inside the program's own event loop, which File > Exit ends.
    QTimer::singleShot(0, window, [&] {
        QTest::mouseClick(value, Qt::LeftButton);
        QTest::keyClicks(value, QStringLiteral("1040"));
        QTest::mouseClick(go, Qt::LeftButton);
        seen << QGuiApplication::clipboard()->text();
        QTest::mouseClick(box0, Qt::LeftButton, {}, QPoint(6, box0->height() / 2));
        seen << QGuiApplication::clipboard()->text();

        QTest::mouseClick(description, Qt::LeftButton, {}, QPoint(5, 5));
        seen << (popup->isVisible() ? QStringLiteral("popup shown") : QStringLiteral("no popup"));
        QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(5, 5));
        seen << (popup->isVisible() ? QStringLiteral("popup shown") : QStringLiteral("no popup"));

        about->trigger();
        QWidget *aboutWindow = window_test::aboutWindow();
        aboutWasOpen = aboutWindow && aboutWindow->isVisible();
        if (aboutWindow)
            QTest::keyClick(aboutWindow, Qt::Key_Escape);
        about->trigger();
        exit->trigger();
    });
    QCOMPARE(QApplication::exec(), 0);

    QCOMPARE(seen, (QStringList { "1040", "1041", "popup shown", "no popup" }));
    QVERIFY(aboutWasOpen);
    // Exit closes every window, the About window among them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

// Cancel and File > Exit leave the event loop at once, closing the About window too. The
// title bar's close button closes the main window only: the About window (parentless) keeps
// the program running until it is closed too.
void TestSession::endProgram_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "Cancel";
    QTest::newRow("File > Exit") << "Exit";
    QTest::newRow("close button") << "close";
}

void TestSession::endProgram()
{
    QFETCH(QString, how);
    const Appearance appearance;
    MainWindow window(appearance);
    const ProgramEnd end(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window_test::child<QAction>(&window, QStringLiteral("mnuHelpAbout"))->trigger();
    QPointer<QWidget> about = window_test::aboutWindow();
    QVERIFY(about && about->isVisible());

    QObject timers; // stops the timers below should the loop end first
    bool aboutAliveAfterMain = false;
    QTimer::singleShot(0, &timers, [&] {
        if (how == QLatin1String("Exit"))
            window_test::child<QAction>(&window, QStringLiteral("mnuFileExit"))->trigger();
        else if (how == QLatin1String("Cancel"))
            QTest::mouseClick(window_test::child<QPushButton>(&window, QStringLiteral("cmdCancel")),
                Qt::LeftButton);
        else
            window.windowHandle()->close();
    });
    QTimer::singleShot(100, &timers, [&] {
        aboutAliveAfterMain = about && about->isVisible();
        if (about)
            about->close();
    });
    QTimer::singleShot(5000, &timers, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(aboutAliveAfterMain, how == QLatin1String("close"));
    QVERIFY(!about);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
