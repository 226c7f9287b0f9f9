// Opens the About window as Help > About does and checks it as a user meets it: its controls,
// picture and icon, the keys and clicks that close it, and its lifetime beside another window.

#include "ui/about/about_window.h"
#include "ui/tests/window_test.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

#include <QAccessible>

namespace {

const QString IconFile = QStringLiteral(":/test/orvanunk4.png");
const QString PictureFile = QStringLiteral(":/about/about.png");
const QString VersionLine = QStringLiteral("Orvanunk4   version 2.2   July 24, 2004");

bool s_designFont = false;

// Opens the About window and waits until it is on screen. Checks follow the window's own focus
// widget, so they hold also where no window manager activates the window.
AboutWindow *openAndWait(const QIcon &icon = QIcon(IconFile))
{
    AboutWindow *w = AboutWindow::open(icon, QApplication::font());
    if (!QTest::qWaitForWindowExposed(w))
        qWarning("the About window was not shown");
    return w;
}

using window_test::child;
using window_test::rgb;

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void shouldHaveDefaultValue();
    void controls_data();
    void controls();
    void description();
    void closing_data();
    void closing();
    void tabOrderAndSingleInstance();
    void picture();
    void icon();
    void programIconFile();
};

// As in the program: the MS Sans Serif stand-in from fonts-wine, where installed, is the font.
// The theme's text is blue, which the description must not take.
void TestAboutWindow::initTestCase()
{
    // The offscreen platform reports that it cannot raise a window each time open() does.
    window_test::quietPlatformChatter();
    const QString font = QStringLiteral("/usr/share/wine/fonts/ms_sans_serif.ttf");
    const int id = QFile::exists(font) ? QFontDatabase::addApplicationFont(font) : -1;
    s_designFont = id >= 0;
    if (s_designFont) {
        QFont designFont(QFontDatabase::applicationFontFamilies(id).value(0));
        designFont.setPointSizeF(8.25);
        QApplication::setFont(designFont);
    }
    QPalette themed = QApplication::palette();
    themed.setColor(QPalette::WindowText, QColor(0, 0, 200));
    QApplication::setPalette(themed);
}

void TestAboutWindow::cleanup()
{
    if (QWidget *w = window_test::aboutWindow())
        w->close();
    QTRY_VERIFY(!window_test::aboutWindow());
}

// A parentless dialog, fixed at 5775 x 3600 twips, with a close button only (OK has the focus:
// tabOrder()).
void TestAboutWindow::shouldHaveDefaultValue()
{
    AboutWindow *w = openAndWait();
    QCOMPARE(w->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(w->windowTitle(), QStringLiteral("About Orvanunk4"));
    QVERIFY(w->isVisible() && !w->parent());
    QCOMPARE(w->windowType(), Qt::Dialog);
    QCOMPARE(w->size(), QSize(385, 240));
    QCOMPARE(w->minimumSize(), w->size());
    QCOMPARE(w->maximumSize(), w->size());
    const Qt::WindowFlags f = w->windowFlags();
    QVERIFY(f.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint));
    QVERIFY(!(f
        & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
            | Qt::WindowContextHelpButtonHint)));
    // No more controls than those of controls().
    QCOMPARE(w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), 4);
}

void TestAboutWindow::controls_data()
{
    QTest::addColumn<QRect>("pixels"); // each row is named by its control
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("spoken");         // the accessible name
    QTest::addColumn<QAccessible::Role>("role"); // a picture is an image to AT-SPI
    const QString description = VersionLine + " Written for OrvanTrk track builders.";
    // The designed places in pixels (twips / 15); picIcon fits the 32 x 32 icon and its 2-pixel
    // border.
    QTest::newRow("Picture1") << QRect(16, 16, 353, 137) << ""
                              << "Orvan unk4 picture" << QAccessible::Graphic;
    QTest::newRow("picIcon") << QRect(16, 168, 36, 36) << ""
                             << "Orvan unk4 icon" << QAccessible::Graphic;
    QTest::newRow("lblDescription")
        << QRect(96, 168, 195, 30) << description << description << QAccessible::StaticText;
    QTest::newRow("cmdOK") << QRect(152, 208, 84, 23) << "OK"
                           << "OK" << QAccessible::Button;
}

void TestAboutWindow::controls()
{
    QFETCH(QRect, pixels);
    QFETCH(QString, text);
    QFETCH(QString, spoken);
    QFETCH(QAccessible::Role, role);
    QWidget *widget = child(openAndWait(), QTest::currentDataTag());
    QCOMPARE(widget->geometry(), pixels);
    QVERIFY(widget->isVisible());
    QCOMPARE(widget->property("text").toString(), text);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), spoken);
    QCOMPARE(accessible->role(), role);
}

// Black under the blue theme, wrapped into lines centred in the label. In the program's font it
// breaks after the date, and both lines fit the label's 450 twips.
void TestAboutWindow::description()
{
    auto *label = child<QLabel>(openAndWait(), "lblDescription");
    const QImage image = rgb(label);
    QList<QPair<int, int>> lines; // the leftmost and rightmost ink of each run of inked rows
    int black = 0, blue = 0;
    for (int y = 0, inked = -2; y < image.height(); ++y) { // inked: the last row with ink
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == image.pixel(0, 0))
                continue;
            black += p == qRgb(0, 0, 0);
            blue += qBlue(p) > qRed(p) + 40;
            if (inked < y - 1)
                lines.append({ x, x });
            inked = y;
            lines.last() = { qMin(lines.last().first, x), qMax(lines.last().second, x) };
        }
    }
    QVERIFY(black > 20);
    QCOMPARE(blue, 0);
    QVERIFY2(lines.size() >= 2, qPrintable(QString::number(lines.size())));
    for (const auto &[left, right] : lines) // centred to a pixel or two
        QVERIFY2(qAbs(left - (image.width() - 1 - right)) <= 3,
            qPrintable(QStringLiteral("ink from %1 to %2").arg(left).arg(right)));

    if (s_designFont) {
        const QFontMetrics metrics(label->font());
        const int flags = Qt::TextWordWrap | Qt::AlignHCenter;
        const QRect bounds(0, 0, label->width(), 1000);
        QCOMPARE(metrics.boundingRect(bounds, flags, VersionLine).height(), metrics.height());
        QCOMPARE(metrics.boundingRect(bounds, flags, label->text()).height(), 2 * metrics.height());
        QVERIFY(2 * metrics.height() <= label->height());
    }
}

void TestAboutWindow::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("focus"); // for a key: the control that has the focus
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("pressesOk");
    const auto row
        = [](const char *name, const char *how, const char *focus, int key, bool pressesOk) {
              QTest::newRow(name) << QString(how) << QString(focus) << key << pressesOk;
          };
    row("OK clicked", "click", "", 0, true);
    row("Enter with OK focused", "key", "cmdOK", Qt::Key_Return, true);
    row("Enter with the icon focused", "key", "picIcon", Qt::Key_Return, true);
    row("Esc with the picture focused", "key", "Picture1", Qt::Key_Escape, true);
    row("QWidget::close", "close", "", 0, false);
    row("close button (window system)", "system", "", 0, false);
}

// Each way destroys the window and leaves another (the main window's stand-in) be. Open, the
// About window blocks no other window.
void TestAboutWindow::closing()
{
    QFETCH(QString, how);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, pressesOk);

    QWidget other;
    auto *box = new QCheckBox(QStringLiteral("1024"), &other);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QPointer<AboutWindow> w = openAndWait();
    QVERIFY(!QApplication::activeModalWidget());
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());

    auto *ok = child<QPushButton>(w, "cmdOK");
    QSignalSpy pressed(ok, &QPushButton::clicked);
    if (how == QLatin1String("click")) {
        QTest::mouseClick(ok, Qt::LeftButton);
    } else if (how == QLatin1String("key")) {
        QWidget *target = child(w, focus);
        if (target != ok)
            target->setFocus(Qt::TabFocusReason);
        QCOMPARE(w->focusWidget(), target);
        QTest::keyClick(target, Qt::Key(key));
    } else if (how == QLatin1String("close")) {
        QVERIFY(w->close());
    } else {
        QVERIFY(w->windowHandle()->close());
    }
    QCOMPARE(pressed.count(), pressesOk ? 1 : 0);
    QTRY_VERIFY(w.isNull());
    QVERIFY(other.isVisible());
}

// Tab walks OK, the icon and the picture, skipping the label. One window at a time: opening it
// again brings the open one forward as the user left it, the focus on the icon. Once closed it
// is built afresh, controls and all, with the focus on OK.
void TestAboutWindow::tabOrderAndSingleInstance()
{
    QPointer<AboutWindow> first = openAndWait();
    QPointer<QWidget> firstOk = child(first, "cmdOK");
    QStringList visited { first->focusWidget()->objectName() };
    for (int k = 0; k < 4; ++k) {
        QTest::keyClick(first->focusWidget(), Qt::Key_Tab);
        visited << first->focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList { "cmdOK", "picIcon", "Picture1", "cmdOK", "picIcon" }));
    QCOMPARE(AboutWindow::open(QIcon(IconFile), QApplication::font()), first.data());
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::topLevelWidgets(), QWidgetList { first });
    QCOMPARE(first->focusWidget(), child(first, "picIcon"));

    first->close();
    QTRY_VERIFY(first.isNull());
    QVERIFY(firstOk.isNull());
    AboutWindow *second = openAndWait();
    QCOMPARE(second->focusWidget(), child(second, "cmdOK"));
}

// The compiled-in colour picture, drawn at its own size inside a 2-pixel sunken 3-D border and
// clipped to its top-left 349 x 133 pixels.
void TestAboutWindow::picture()
{
    const QImage file(PictureFile);
    QCOMPARE(file.size(), QSize(350, 149));
    QVERIFY(!file.isGrayscale() && !file.hasAlphaChannel());

    auto *box = child<QLabel>(openAndWait(), "Picture1");
    const QRect inner = box->contentsRect();
    QCOMPARE(inner, QRect(2, 2, 349, 133));
    const QImage shown = rgb(box);
    QCOMPARE(shown.copy(inner), rgb(file).copy(0, 0, 349, 133));

    // Outside: exactly the border of an empty sunken panel, dark at the top-left, light at the
    // bottom-right.
    QLabel bare(box->parentWidget());
    bare.setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    bare.setGeometry(box->geometry());
    const auto outside = [&](QImage image) {
        QPainter(&image).fillRect(inner, Qt::black);
        return image;
    };
    const QImage border = rgb(&bare);
    QCOMPARE(outside(shown), outside(border));
    QVERIFY(qGray(border.pixel(0, 0)) < qGray(border.pixel(352, 136)));
}

// The icon it is given, in the title bar and in picIcon, which keeps its corner and fits itself
// to the icon and its border: here a smaller icon than the program's, which fits the design size.
void TestAboutWindow::icon()
{
    QPixmap blue(16, 16);
    blue.fill(QColor(0, 128, 255));
    AboutWindow *w = openAndWait(QIcon(blue));
    const QImage expected = rgb(blue.toImage());
    QCOMPARE(rgb(w->windowIcon(), 16), expected);
    auto *box = child<QLabel>(w, "picIcon");
    QCOMPARE(box->geometry(), QRect(16, 168, 20, 20));
    QCOMPARE(rgb(box).copy(2, 2, 16, 16), expected);
}

// The program icon as shipped, opaque, black and red on white (every pixel white, black, red or
// a blend of them, and all three inks there). package_test.sh icon checks its size and palette.
void TestAboutWindow::programIconFile()
{
    const QImage image(IconFile);
    int black = 0, red = 0, white = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            QVERIFY(qAlpha(p) == 255 && qAbs(qGreen(p) - qBlue(p)) <= 1 && qRed(p) >= qGreen(p));
            black += qRed(p) < 40 && qGreen(p) < 40;
            red += qRed(p) > 150 && qGreen(p) < 40;
            white += qRed(p) > 240 && qGreen(p) > 240;
        }
    }
    QVERIFY(black >= 32 && red >= 16 && white >= 32 * 32 / 3);
    QCOMPARE(image.pixel(0, 31), qRgb(255, 255, 255));
}

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"
