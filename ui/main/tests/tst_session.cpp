// One whole session as a user lives it, from start to File > Exit inside the event loop:
// type a value, GO, tick a box, open and close a popup, open and close the About window.
// It runs on its own and, where valgrind is installed, under memcheck.

#include "ui/main/appearance.h"
#include "ui/main/main_window.h"
#include "ui/tests/window_test.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void typeGoTickPopupAboutExit();
};

void TestSession::typeGoTickPopupAboutExit()
{
    const Appearance appearance;
    auto *window = new MainWindow(appearance);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    auto *value = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *go = window->findChild<QPushButton *>(QStringLiteral("cmdGo"));
    auto *box0 = window->findChild<QCheckBox *>(QStringLiteral("Check1_0"));
    auto *description = window->findChild<QLabel *>(QStringLiteral("Label3_10"));
    auto *popup = window->findChild<QLabel *>(QStringLiteral("Label1"));
    auto *about = window->findChild<QAction *>(QStringLiteral("mnuHelpAbout"));
    auto *exit = window->findChild<QAction *>(QStringLiteral("mnuFileExit"));
    QVERIFY(value && go && box0 && description && popup && about && exit);

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

QTEST_MAIN(TestSession)
#include "tst_session.moc"
