// How long the slowest user action takes: GO on 1048575, which ticks all twenty boxes, each
// tick rewriting the value box and the clipboard, and then repaints the window. Run it on the
// platform to measure (offscreen, or xcb on an X server, where every clipboard write talks to
// the server); it prints figures and checks nothing.

#include "ui/main/appearance.h"
#include "ui/main/main_window.h"

#include <QtTest>

#include <QLineEdit>
#include <QPushButton>

class BenchMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void goOnTheLimit();
    void startUpWindow();
};

void BenchMainWindow::goOnTheLimit()
{
    const Appearance appearance;
    MainWindow window(appearance);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *value = window.findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *go = window.findChild<QPushButton *>(QStringLiteral("cmdGo"));

    QBENCHMARK
    {
        QTest::mouseClick(value, Qt::LeftButton);
        QTest::keyClicks(value, QStringLiteral("1048575"));
        QTest::mouseClick(go, Qt::LeftButton);
        window.repaint();
    }
    QCOMPARE(value->text(), QStringLiteral("1048575"));
}

// Building the window and its first paint, without the process start-up around it.
void BenchMainWindow::startUpWindow()
{
    const Appearance appearance;
    QBENCHMARK
    {
        MainWindow window(appearance);
        window.show();
        window.repaint();
    }
}

QTEST_MAIN(BenchMainWindow)
#include "bench_main_window.moc"
