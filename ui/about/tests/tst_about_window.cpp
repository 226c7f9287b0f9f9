#include "ui/about/about_window.h"
#include "ui/about/about_window_layout.h"
#include "ui/about/picture_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QImageReader>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

#include <algorithm>

using about_layout::px;

namespace {

const QString IconFile = QStringLiteral(":/test/orvanunk4.png");
const QString PictureFile = QStringLiteral(":/about/about.png");
const QString VersionLine = QStringLiteral("Orvanunk4   version 2.2   July 24, 2004");

QIcon programIcon()
{
    return QIcon(IconFile);
}

// A 32 x 32 icon unlike the program's, to show the window takes the icon it is given.
QIcon plainIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(0, 128, 255));
    return QIcon(pixmap);
}

// Opens the About window and waits until it is on screen. The checks below follow the
// window's own focus widget, which is where the keyboard goes once the window is active, so
// they hold also where the window system does not activate the window (an X server with no
// window manager).
AboutWindow *openAndWait(const QIcon &icon = programIcon())
{
    AboutWindow *w = AboutWindow::open(icon);
    if (w && !QTest::qWaitForWindowExposed(w))
        qWarning("the About window was not shown");
    return w;
}

template <typename T> T *child(QWidget *w, const char *name)
{
    return w ? w->findChild<T *>(QLatin1String(name)) : nullptr;
}

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// How many top-level windows with this object name are on screen.
int visibleWindowsNamed(const QString &name)
{
    const QWidgetList all = QApplication::topLevelWidgets();
    return int(std::count_if(all.cbegin(), all.cend(),
        [&](const QWidget *w) { return w->objectName() == name && w->isVisible(); }));
}

enum class Closing {
    OkClicked,
    EnterOnOk,
    EnterOnIcon,
    EscOnOk,
    EscOnPicture,
    WidgetClose,
    CloseEvent,
    WindowSystemClose
};

} // namespace

Q_DECLARE_METATYPE(Closing)

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void shouldHaveDefaultValue();
    void geometry_data();
    void geometry();
    void description();
    void descriptionIsBlackAndCentred();
    void descriptionFitsInTwoLines();
    void okIsDefaultAndCancelButton();
    void closing_data();
    void closing();
    void tabOrder_data();
    void tabOrder();
    void focusOnOkAtEveryOpening();
    void singleInstance();
    void rebuiltFreshAfterClosing();
    void doesNotBlockOtherWindows();
    void keepsProgramRunningAfterOtherWindowsClose();
    void pictureIsCompiledIn();
    void pictureIsShownClippedInsideBorder();
    void iconIsShownInFittedBox_data();
    void iconIsShownInFittedBox();
    void programIconFile();
};

void TestAboutWindow::cleanup()
{
    if (AboutWindow *w = AboutWindow::current())
        w->close();
    QTRY_VERIFY(!AboutWindow::current());
}

void TestAboutWindow::shouldHaveDefaultValue()
{
    AboutWindow *w = openAndWait();
    QVERIFY(w);
    QCOMPARE(AboutWindow::current(), w);
    QCOMPARE(w->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(w->windowTitle(), QStringLiteral("About Orvanunk4"));
    QVERIFY(w->isVisible());

    // A parentless dialog window, destroyed when closed.
    QVERIFY(!w->parent());
    QVERIFY(w->isWindow());
    QCOMPARE(w->windowType(), Qt::Dialog);
    QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));

    // Close button only: no minimize or maximize, no help button.
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));

    // The client area is 5775 x 3600 twips and cannot be resized.
    QCOMPARE(w->size(), QSize(385, 240));
    QCOMPARE(w->minimumSize(), QSize(385, 240));
    QCOMPARE(w->maximumSize(), QSize(385, 240));
    QCOMPARE(QSize(px(about_layout::ClientWidth), px(about_layout::ClientHeight)), w->size());

    // The window's icon is the program icon it was given.
    QVERIFY(!w->windowIcon().isNull());
    QCOMPARE(rgb(w->windowIcon().pixmap(QSize(32, 32)).toImage()), rgb(QImage(IconFile)));

    // Four controls and no more.
    const auto children = w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    QStringList names;
    for (const QWidget *c : children)
        names << c->objectName();
    names.sort();
    QCOMPARE(names, (QStringList { "Picture1", "cmdOK", "lblDescription", "picIcon" }));
}

void TestAboutWindow::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");

    // Twips / 15, relative to the client area.
    QTest::newRow("Picture1 240,240 5295x2055") << "Picture1" << QRect(16, 16, 353, 137);
    QTest::newRow("picIcon 240,2520 fits 32x32 + border") << "picIcon" << QRect(16, 168, 36, 36);
    QTest::newRow("lblDescription 1440,2520 2925x450")
        << "lblDescription" << QRect(96, 168, 195, 30);
    QTest::newRow("cmdOK 2280,3120 1260x345") << "cmdOK" << QRect(152, 208, 84, 23);
}

void TestAboutWindow::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);

    AboutWindow *w = openAndWait();
    auto *widget = w->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), pixels);
    QVERIFY(widget->isVisible());

    // The layout table says the same in twips.
    const auto &controls = about_layout::Controls;
    const auto row = std::find_if(std::begin(controls), std::end(controls),
        [&](const about_layout::Control &c) { return name == c.name; });
    QVERIFY(row != std::end(controls));
    QCOMPARE(QRect(px(row->left), px(row->top), px(row->width), px(row->height)), pixels);
}

void TestAboutWindow::description()
{
    AboutWindow *w = openAndWait();
    auto *label = child<QLabel>(w, "lblDescription");
    auto *ok = child<QPushButton>(w, "cmdOK");
    QVERIFY(label && ok);

    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(label->text(), VersionLine + QStringLiteral(" Written for OrvanTrk track builders."));
    QVERIFY(label->wordWrap());
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(label->alignment() & Qt::AlignVertical_Mask, Qt::AlignTop);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
}

void TestAboutWindow::descriptionIsBlackAndCentred()
{
    // Under a theme whose window text is not black, the description stays black.
    const QPalette saved = QApplication::palette();
    QPalette themed = saved;
    themed.setColor(QPalette::WindowText, QColor(0, 0, 200));
    QApplication::setPalette(themed);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(saved); });

    AboutWindow *w = openAndWait();
    auto *label = child<QLabel>(w, "lblDescription");
    QVERIFY(label);
    QCOMPARE(label->palette().color(label->foregroundRole()), QColor(0, 0, 0));
    QCOMPARE(w->palette().color(QPalette::WindowText), QColor(0, 0, 200));

    const QImage image = rgb(label->grab().toImage());
    const QRgb background = image.pixel(0, 0);
    int inkPixels = 0;
    int blackPixels = 0;
    int bluePixels = 0;
    // Each line of text: its first and last row, and the leftmost and rightmost ink.
    struct Line
    {
        int top, bottom, left, right;
    };
    QList<Line> lines;
    for (int y = 0; y < image.height(); ++y) {
        int left = -1;
        int right = -1;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == background)
                continue;
            ++inkPixels;
            blackPixels += p == qRgb(0, 0, 0);
            bluePixels += qBlue(p) > qRed(p) + 40;
            if (left < 0)
                left = x;
            right = x;
        }
        if (left < 0)
            continue;
        if (!lines.isEmpty() && lines.last().bottom == y - 1) {
            Line &line = lines.last();
            line.bottom = y;
            line.left = std::min(line.left, left);
            line.right = std::max(line.right, right);
        } else {
            lines.append({ y, y, left, right });
        }
    }
    QVERIFY(inkPixels > 100);
    QVERIFY(blackPixels > 0);
    QCOMPARE(bluePixels, 0);

    // Two or more lines (the text wraps); each is centred to a pixel or two.
    QVERIFY2(lines.size() >= 2, qPrintable(QString::number(lines.size())));
    for (const Line &line : lines) {
        const int leftMargin = line.left;
        const int rightMargin = image.width() - 1 - line.right;
        QVERIFY2(std::abs(leftMargin - rightMargin) <= 3,
            qPrintable(QStringLiteral("line at %1: margins %2 and %3")
                           .arg(line.top)
                           .arg(leftMargin)
                           .arg(rightMargin)));
    }
}

void TestAboutWindow::descriptionFitsInTwoLines()
{
    // The program draws its windows in the MS Sans Serif stand-in from fonts-wine (the main
    // window makes it the application font). In it the text breaks after the date and both
    // lines fit the label's 450 twips.
    const QString fontFile = QStringLiteral("/usr/share/wine/fonts/ms_sans_serif.ttf");
    if (!QFile::exists(fontFile))
        QSKIP("fonts-wine is not installed");
    const int id = QFontDatabase::addApplicationFont(fontFile);
    QVERIFY(id >= 0);
    const QFont saved = QApplication::font();
    QFont designFont(QFontDatabase::applicationFontFamilies(id).value(0));
    designFont.setPointSizeF(8.25);
    QApplication::setFont(designFont);
    const auto restore = qScopeGuard([&] {
        QApplication::setFont(saved);
        QFontDatabase::removeApplicationFont(id);
    });

    AboutWindow *w = openAndWait();
    auto *label = child<QLabel>(w, "lblDescription");
    QVERIFY(label);
    QCOMPARE(label->font().family(), designFont.family());

    const QFontMetrics metrics(label->font());
    const int flags = Qt::TextWordWrap | Qt::AlignHCenter;
    const QRect bounds(0, 0, label->width(), 1000);
    QVERIFY(metrics.boundingRect(bounds, flags, VersionLine).height() == metrics.height());
    const QRect whole = metrics.boundingRect(bounds, flags, label->text());
    QCOMPARE(whole.height(), 2 * metrics.height());
    QVERIFY(whole.height() <= label->height());
}

void TestAboutWindow::okIsDefaultAndCancelButton()
{
    // Default from the moment the window is shown, before the focus has reached it.
    AboutWindow *w = AboutWindow::open(programIcon());
    QVERIFY(w);
    auto *ok = child<QPushButton>(w, "cmdOK");
    QVERIFY(ok);
    QVERIFY(ok->isDefault());
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(ok->isDefault());
    const auto buttons = w->findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 1);
    // Enter and Esc pressing it, from every control: see closing().
}

void TestAboutWindow::closing_data()
{
    QTest::addColumn<Closing>("how");
    QTest::addColumn<bool>("pressesOk");

    QTest::newRow("OK clicked") << Closing::OkClicked << true;
    QTest::newRow("Enter with OK focused") << Closing::EnterOnOk << true;
    QTest::newRow("Enter with the icon focused") << Closing::EnterOnIcon << true;
    QTest::newRow("Esc with OK focused") << Closing::EscOnOk << true;
    QTest::newRow("Esc with the picture focused") << Closing::EscOnPicture << true;
    QTest::newRow("QWidget::close") << Closing::WidgetClose << false;
    QTest::newRow("close event") << Closing::CloseEvent << false;
    QTest::newRow("close button (window system)") << Closing::WindowSystemClose << false;
}

void TestAboutWindow::closing()
{
    QFETCH(Closing, how);
    QFETCH(bool, pressesOk);

    // Another window stands in for the main window: closing the About window leaves it be.
    QWidget other;
    other.setObjectName(QStringLiteral("other"));
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    QPointer<AboutWindow> w = openAndWait();
    QVERIFY(w);
    auto *ok = child<QPushButton>(w, "cmdOK");
    auto *icon = child<QWidget>(w, "picIcon");
    auto *picture = child<QWidget>(w, "Picture1");
    QVERIFY(ok && icon && picture);
    QSignalSpy pressed(ok, &QPushButton::clicked);

    switch (how) {
    case Closing::OkClicked:
        QTest::mouseClick(ok, Qt::LeftButton);
        break;
    case Closing::EnterOnOk:
        QCOMPARE(w->focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Return);
        break;
    case Closing::EnterOnIcon:
        icon->setFocus(Qt::TabFocusReason);
        QCOMPARE(w->focusWidget(), icon);
        QTest::keyClick(icon, Qt::Key_Return);
        break;
    case Closing::EscOnOk:
        QCOMPARE(w->focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Escape);
        break;
    case Closing::EscOnPicture:
        picture->setFocus(Qt::TabFocusReason);
        QCOMPARE(w->focusWidget(), picture);
        QTest::keyClick(picture, Qt::Key_Escape);
        break;
    case Closing::WidgetClose:
        QVERIFY(w->close());
        break;
    case Closing::CloseEvent: {
        QCloseEvent event;
        QApplication::sendEvent(w, &event);
        QVERIFY(event.isAccepted());
        break;
    }
    case Closing::WindowSystemClose:
        QVERIFY(w->windowHandle());
        QVERIFY(w->windowHandle()->close());
        break;
    }

    QCOMPARE(pressed.count(), pressesOk ? 1 : 0);
    QTRY_VERIFY(w.isNull());
    QVERIFY(!AboutWindow::current());
    QCOMPARE(visibleWindowsNamed(QStringLiteral("frmAbout")), 0);
    QVERIFY(other.isVisible());
}

void TestAboutWindow::tabOrder_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QStringList>("focus");

    QTest::newRow("Tab: OK, icon, picture, OK")
        << Qt::Key_Tab << QStringList { "cmdOK", "picIcon", "Picture1", "cmdOK", "picIcon" };
    QTest::newRow("Shift+Tab: OK, picture, icon, OK")
        << Qt::Key_Backtab << QStringList { "cmdOK", "Picture1", "picIcon", "cmdOK", "Picture1" };
}

void TestAboutWindow::tabOrder()
{
    QFETCH(Qt::Key, key);
    QFETCH(QStringList, focus);

    AboutWindow *w = openAndWait();
    QVERIFY(w);
    QCOMPARE(child<QWidget>(w, "picIcon")->focusPolicy(), Qt::TabFocus);
    QCOMPARE(child<QWidget>(w, "Picture1")->focusPolicy(), Qt::TabFocus);

    for (int i = 0; i < focus.size(); ++i) {
        QWidget *current = w->focusWidget();
        QVERIFY(current);
        QCOMPARE(current->objectName(), focus.at(i));
        if (i + 1 < focus.size())
            QTest::keyClick(
                current, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

void TestAboutWindow::focusOnOkAtEveryOpening()
{
    for (int opening = 0; opening < 3; ++opening) {
        QPointer<AboutWindow> w = openAndWait();
        QVERIFY(w);
        QCOMPARE(w->focusWidget(), child<QWidget>(w, "cmdOK"));
        // Move the focus away before closing; the next opening starts on OK again.
        QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
        QCOMPARE(w->focusWidget(), child<QWidget>(w, "picIcon"));
        w->close();
        QTRY_VERIFY(w.isNull());
    }
}

void TestAboutWindow::singleInstance()
{
    AboutWindow *first = openAndWait();
    QVERIFY(first);
    QTest::keyClick(first->focusWidget(), Qt::Key_Tab);
    for (int again = 0; again < 3; ++again) {
        QCOMPARE(AboutWindow::open(programIcon()), first);
        QCOMPARE(AboutWindow::current(), first);
        QCOMPARE(visibleWindowsNamed(QStringLiteral("frmAbout")), 1);
    }
    QCoreApplication::processEvents();
    QCOMPARE(visibleWindowsNamed(QStringLiteral("frmAbout")), 1);
    // Opening it again while open keeps it as it is: the focus stays where the user put it.
    QCOMPARE(first->focusWidget(), child<QWidget>(first, "picIcon"));
}

void TestAboutWindow::rebuiltFreshAfterClosing()
{
    QPointer<AboutWindow> first = openAndWait();
    QVERIFY(first);
    first->setProperty("opening", 1);
    QTest::keyClick(first->focusWidget(), Qt::Key_Tab);
    QTest::keyClick(first->focusWidget(), Qt::Key_Tab);
    QCOMPARE(first->focusWidget(), child<QWidget>(first, "Picture1"));
    QPointer<QWidget> oldOk = child<QWidget>(first, "cmdOK");

    first->close();
    QTRY_VERIFY(first.isNull());
    QVERIFY(oldOk.isNull()); // the controls went with the window
    QVERIFY(!AboutWindow::current());

    AboutWindow *second = openAndWait();
    QVERIFY(second);
    QVERIFY(!second->property("opening").isValid());
    QCOMPARE(AboutWindow::current(), second);
    QCOMPARE(second->focusWidget(), child<QWidget>(second, "cmdOK"));
    QCOMPARE(child<QWidget>(second, "picIcon")->geometry(), QRect(16, 168, 36, 36));
}

void TestAboutWindow::doesNotBlockOtherWindows()
{
    QWidget other;
    auto *box = new QCheckBox(QStringLiteral("1024"), &other);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    AboutWindow *w = openAndWait();
    QVERIFY(w);
    QVERIFY(!w->isModal());
    QCOMPARE(w->windowModality(), Qt::NonModal);
    QVERIFY(!QApplication::activeModalWidget());

    // With the About window open, the other window still takes clicks.
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
    QVERIFY(w->isVisible());
}

void TestAboutWindow::keepsProgramRunningAfterOtherWindowsClose()
{
    // The program ends when its last window closes. Run the real event loop: closing the other
    // window (the main window's stand-in) must not end it while the About window is open;
    // closing the About window then must.
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QPointer<AboutWindow> w = openAndWait();
    QVERIFY(w);

    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QObject timers; // cancels the timers below if the loop ends early
    bool aboutOpenAfterOtherClosed = false;
    int lastClosedBeforeAbout = -1;
    bool timedOut = false;
    QTimer::singleShot(0, &timers, [&] { other.close(); });
    QTimer::singleShot(100, &timers, [&] {
        aboutOpenAfterOtherClosed = w && w->isVisible();
        lastClosedBeforeAbout = lastClosed.count();
        if (w)
            w->close();
    });
    QTimer::singleShot(10000, &timers, [&] {
        timedOut = true;
        QCoreApplication::quit();
    });
    QCoreApplication::exec();

    QVERIFY(aboutOpenAfterOtherClosed);
    QCOMPARE(lastClosedBeforeAbout, 0);
    QVERIFY(!timedOut);
    QCOMPARE(lastClosed.count(), 1);
    QTRY_VERIFY(w.isNull());
}

void TestAboutWindow::pictureIsCompiledIn()
{
    QVERIFY(QFile::exists(PictureFile));
    const QImage picture(PictureFile);
    QCOMPARE(picture.size(), QSize(350, 149));
    QVERIFY(!picture.isGrayscale());
    QVERIFY(!picture.hasAlphaChannel());
}

void TestAboutWindow::pictureIsShownClippedInsideBorder()
{
    AboutWindow *w = openAndWait();
    auto *box = child<PictureBox>(w, "Picture1");
    QVERIFY(box);
    QCOMPARE(box->picture().size(), QSize(350, 149));
    QCOMPARE(box->frameWidth(), 2);
    QCOMPARE(box->frameShadow(), QFrame::Sunken);
    const QRect inner = box->contentsRect();
    QCOMPARE(inner, QRect(2, 2, 349, 133));

    // Inside: the picture's top-left 349 x 133, at its own size.
    const QImage shown = rgb(box->grab().toImage());
    QCOMPARE(shown.size(), QSize(353, 137));
    QCOMPARE(shown.copy(inner), rgb(QImage(PictureFile)).copy(0, 0, 349, 133));

    // Outside: the border, untouched by the picture, exactly as an empty box draws it.
    PictureBox bare(w);
    bare.setGeometry(box->geometry());
    const QImage border = rgb(bare.grab().toImage());
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (!inner.contains(x, y))
                QVERIFY2(shown.pixel(x, y) == border.pixel(x, y),
                    qPrintable(QStringLiteral("border pixel %1,%2").arg(x).arg(y)));
        }
    }
    // The border is a 3-D one: dark at the top-left, light at the bottom-right.
    QVERIFY(qGray(border.pixel(0, 0)) < qGray(border.pixel(352, 136)));
}

void TestAboutWindow::iconIsShownInFittedBox_data()
{
    QTest::addColumn<QIcon>("icon");
    QTest::newRow("program icon") << programIcon();
    QTest::newRow("plain blue icon") << plainIcon();
}

void TestAboutWindow::iconIsShownInFittedBox()
{
    QFETCH(QIcon, icon);

    AboutWindow *w = openAndWait(icon);
    auto *box = child<PictureBox>(w, "picIcon");
    QVERIFY(box);
    const QImage expected = rgb(icon.pixmap(QSize(32, 32)).toImage());
    QCOMPARE(rgb(w->windowIcon().pixmap(QSize(32, 32)).toImage()), expected);

    QVERIFY(box->autoSize());
    QCOMPARE(box->picture().size(), QSize(32, 32));
    QCOMPARE(box->frameWidth(), 2);
    QCOMPARE(box->size(), QSize(36, 36));
    QCOMPARE(box->contentsRect(), QRect(2, 2, 32, 32));
    QCOMPARE(rgb(box->grab().toImage()).copy(2, 2, 32, 32), expected);
}

void TestAboutWindow::programIconFile()
{
    QImageReader reader(IconFile);
    QCOMPARE(reader.size(), QSize(32, 32));
    QCOMPARE(reader.imageFormat(), QImage::Format_Indexed8); // a palette of at most 256 colours
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QVERIFY(image.colorCount() > 0 && image.colorCount() <= 256);
    QVERIFY(!image.hasAlphaChannel());

    // Opaque; black and red on white: every pixel is white, black, red or a blend of them
    // (green and blue always equal, red never below them), and all three inks are there.
    int black = 0;
    int red = 0;
    int white = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            QCOMPARE(qAlpha(p), 255);
            QVERIFY2(std::abs(qGreen(p) - qBlue(p)) <= 1 && qRed(p) >= qGreen(p),
                qPrintable(QStringLiteral("pixel %1,%2 is #%3")
                               .arg(x)
                               .arg(y)
                               .arg(p & 0xffffff, 6, 16, QLatin1Char('0'))));
            black += qRed(p) < 40 && qGreen(p) < 40;
            red += qRed(p) > 150 && qGreen(p) < 40;
            white += qRed(p) > 240 && qGreen(p) > 240;
        }
    }
    QVERIFY(black >= 32);
    QVERIFY(red >= 16);
    QVERIFY(white >= 32 * 32 / 3);
    QCOMPARE(image.pixel(0, 31), qRgb(255, 255, 255)); // on white
}

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"
