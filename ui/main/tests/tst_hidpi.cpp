// The window at the screen scale factor it runs under (QT_SCALE_FACTOR): the same layout in
// logical pixels, every text inside the window and inside its control, and a font that
// draws at least as many device pixels as the design font does on a plain screen.

#include "flags/flag_model.h"
#include "ui/main/appearance.h"
#include "ui/main/main_window.h"
#include "ui/tests/window_test.h"

#include <QtTest>

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layoutKeepsItsLogicalSize();
    void textsStayInside();
    void popupsMeetTheirDescriptions();
    void fontIsLegible();

private:
    std::unique_ptr<Appearance> m_appearance;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<window_test::Driver> m_driver;
};

void TestHighDpi::initTestCase()
{
    m_appearance = std::make_unique<Appearance>();
    m_window = std::make_unique<MainWindow>(*m_appearance);
    m_driver = std::make_unique<window_test::Driver>(m_window.get());
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const QFontInfo font(QApplication::font());
    qInfo("device pixel ratio %.2f, font %s %.2f pt", m_window->devicePixelRatioF(),
        qPrintable(font.family()), font.pointSizeF());
}

// The same places in logical pixels; the instructions, wrapped in whatever font, end above the
// line below them.
void TestHighDpi::layoutKeepsItsLogicalSize()
{
    QCOMPARE(m_window->centralWidget()->size(), QSize(500, 442));
    QCOMPARE(m_driver->child("Check1_19")->geometry(), QRect(24, 416, 61, 13));
    auto *instructions = m_driver->child<QLabel>("Label23");
    QVERIFY(instructions->geometry().bottom() < m_driver->child("Label24")->geometry().top());
    QVERIFY(instructions->heightForWidth(instructions->width()) <= instructions->height());
}

// Each text as designed (tst_main_window's) fits its control, and the control the window.
void TestHighDpi::textsStayInside()
{
    QStringList names { "Label2", "cmdGo", "cmdCancel" };
    for (int i = 0; i < flags::FlagCount; ++i)
        names << QStringLiteral("Label3_%1").arg(i) << QStringLiteral("Check1_%1").arg(i);
    for (const QString &name : names) {
        QWidget *w = m_driver->child(name);
        const QString text = w->property("text").toString();
        const int advance = w->fontMetrics().horizontalAdvance(text);
        int room = w->width();
        if (auto *box = qobject_cast<QCheckBox *>(w))
            room -= box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box)
                + box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
        QVERIFY2(!text.isEmpty() && advance <= room,
            qPrintable(
                QStringLiteral("%1: %2 px of text in %3 px").arg(name).arg(advance).arg(room)));
        QVERIFY2(w->geometry().right() < m_window->centralWidget()->width(), qPrintable(name));
        QVERIFY(w->fontMetrics().height() <= w->height() || !qobject_cast<QPushButton *>(w));
    }
}

// Flags 0 to 15 hang their popup from the description's top, 16 to 19 stand it on the
// description's bottom, whichever font draws the descriptions.
void TestHighDpi::popupsMeetTheirDescriptions()
{
    auto *popup = m_driver->child<QLabel>("Label1");
    for (int i = 0; i < flags::FlagCount; ++i) {
        auto *description = m_driver->child<QLabel>(QStringLiteral("Label3_%1").arg(i));
        if (popup->isVisible()) // a shown popup takes the click that would land beneath it
            m_driver->play({ "click", "Label1" });
        m_driver->play({ "click", description->objectName().toStdString() });
        QVERIFY(popup->isVisible());
        if (i < 16)
            QCOMPARE(popup->y(), description->y());
        else
            QCOMPARE(popup->geometry().bottom(), description->geometry().bottom());
    }
}
// The design font's 13-pixel strike is the plain screen's size; a scaled screen must not draw
// text with fewer device pixels than that, nor from bitmap strikes made for another size.
void TestHighDpi::fontIsLegible()
{
    const QString family = QFontInfo(QApplication::font()).family();
    if (m_window->devicePixelRatioF() != 1.0)
        QVERIFY2(QFontDatabase::isSmoothlyScalable(family), qPrintable(family));
    const qreal devicePixels
        = QFontMetricsF(QApplication::font()).height() * m_window->devicePixelRatioF();
    QVERIFY2(devicePixels >= 13, qPrintable(QString::number(devicePixels)));
}

QTEST_MAIN(TestHighDpi)
#include "tst_hidpi.moc"
