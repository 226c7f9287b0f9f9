// Drives the main window as a user would: clicks land on the window at a widget's place (so the
// popup's stacking counts), keys go to whatever has the focus, and the real clipboard and the
// real message box are watched.

#include "flags/flag_model.h"
#include "ui/about/about_window.h"
#include "ui/main/clickable_label.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_layout.h"
#include "ui/main/value_box.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

#include <memory>

using layout::px;

namespace {

// Pixels from twips, written as the design gives them.
QRect twips(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString detail(int index)
{
    return QString::fromStdString(flags::detailText(index));
}

const QString Untouched = QStringLiteral("clipboard before the test");

bool designFontLoaded()
{
    return QFile::exists(QStringLiteral(":/main/fonts/ms_sans_serif.ttf"));
}

// What a modal message box showed, found from a timer while its exec() runs.
struct SeenMessage
{
    bool shown = false;
    QString title, text, valueBoxText;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons;
    qsizetype buttonCount = 0;
};

QtMessageHandler s_testLog = nullptr;

// The offscreen platform reports each window feature it lacks (size hints, raise, keyboard
// grab) on every test; those lines would bury the ones that matter.
void skipOffscreenNotes(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (!text.startsWith(QLatin1String("This plugin does not support")))
        s_testLog(type, context, text);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void shouldHaveDefaultValue();
    void clientArea();
    void geometry_data();
    void geometry();
    void descriptionsFitTheirText_data();
    void descriptionsFitTheirText();
    void captions_data();
    void captions();
    void menus();
    void tabOrder();
    void resources();

    void goTicks_data();
    void goTicks();
    void goWithBoxesTicked();
    void tickingByHand();
    void resetUnticksAscending();
    void tabIntoValueBoxDoesNotReset();
    void keys_data();
    void keys();
    void noOtherWayIn();
    void enterAndEscapeDoNothing();
    void endProgram_data();
    void endProgram();
    void closeButtonKeepsAboutWindowAlive();

    void popup_data();
    void popup();
    void popupLooks();
    void popupShowsBreaksNotCarriageReturns();
    void popupHidesOnClick();
    void popupTakesClicksOverDescriptions();
    void popupIsReplaced();
    void fwoNote();
    void popupLeftAlone_data();
    void popupLeftAlone();

    void accessibleNames_data();
    void accessibleNames();

private:
    template <typename T = QWidget> T *child(const QString &name) const
    {
        T *w = m_window->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    ValueBox *valueBox() const { return child<ValueBox>(QStringLiteral("Text1")); }
    QPushButton *goButton() const { return child<QPushButton>(QStringLiteral("cmdGo")); }
    QCheckBox *box(int i) const { return child<QCheckBox>(QStringLiteral("Check1_%1").arg(i)); }
    QLabel *description(int i) const { return child<QLabel>(QStringLiteral("Label3_%1").arg(i)); }
    QLabel *popupLabel() const { return child<QLabel>(QStringLiteral("Label1")); }

    // A left click on the window where the widget lies (its centre unless told).
    void click(QWidget *widget, QPoint at = {})
    {
        const QPoint local = at.isNull() ? widget->rect().center() : at;
        QTest::mouseClick(
            m_window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(m_window, local));
    }
    void type(const QString &text)
    {
        for (QChar c : text)
            QTest::keyClick(m_window->windowHandle(), c.toLatin1());
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(m_window->windowHandle(), k, mods);
    }
    QList<int> ticked() const
    {
        QList<int> list;
        for (int i = 0; i < flags::FlagCount; ++i)
            if (box(i)->isChecked())
                list << i;
        return list;
    }
    // Clicks GO; a message box that opens is recorded and closed with its OK button.
    SeenMessage clickGo();
    // Opens a menu entry by its access keys, as a user would with the keyboard.
    void chooseMenu(Qt::Key menu, Qt::Key entry);

    MainWindow *m_window = nullptr;
    QStringList m_clipboard; // the clipboard's text at each change
    QStringList m_valueAtCopy; // the value box's text at each change of the clipboard
    QList<int> m_toggles; // +index for each tick, -index-100 for each untick, in order
};

void TestMainWindow::initTestCase()
{
    s_testLog = qInstallMessageHandler(skipOffscreenNotes);
    MainWindow::useDesignFont();
}

void TestMainWindow::init()
{
    QGuiApplication::clipboard()->setText(Untouched);
    m_clipboard.clear();
    m_valueAtCopy.clear();
    m_toggles.clear();

    m_window = new MainWindow;
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, m_window, [this] {
        m_clipboard << QGuiApplication::clipboard()->text();
        m_valueAtCopy << valueBox()->text();
    });
    for (int i = 0; i < flags::FlagCount; ++i)
        connect(box(i), &QCheckBox::toggled, m_window,
            [this, i](bool on) { m_toggles << (on ? i : -i - 100); });
    m_window->show();
    m_window->activateWindow(); // no window manager does it for us on a bare X server
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestMainWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    if (AboutWindow *about = AboutWindow::current())
        delete about;
}

SeenMessage TestMainWindow::clickGo()
{
    SeenMessage seen;
    QTimer watcher;
    watcher.setInterval(5);
    connect(&watcher, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        watcher.stop();
        seen.shown = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.buttonCount = box->buttons().size();
        seen.valueBoxText = valueBox()->text();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    watcher.start();
    click(goButton());
    QTest::qWait(20);
    return seen;
}

void TestMainWindow::chooseMenu(Qt::Key menu, Qt::Key entry)
{
    key(menu, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), entry);
}

// Start-up: the value box holds "0", wholly selected and focused; nothing else has happened.
void TestMainWindow::shouldHaveDefaultValue()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Orvan unk4 ver.2.2"));
    QCOMPARE(valueBox()->text(), QStringLiteral("0"));
    QCOMPARE(valueBox()->selectedText(), QStringLiteral("0"));
    QCOMPARE(valueBox()->selectionStart(), 0);
    QCOMPARE(QApplication::focusWidget(), valueBox());
    QVERIFY(ticked().isEmpty());
    QVERIFY(goButton()->isEnabled());
    QVERIFY(!popupLabel()->isVisible());
    QCOMPARE(popupLabel()->text(), QStringLiteral("label1"));
    QCOMPARE(popupLabel()->geometry(), twips(6120, 1200, 780, 765));
    QVERIFY(m_clipboard.isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(), Untouched);
    for (const char *name : { "cmdGo", "cmdCancel" }) {
        auto *button = child<QPushButton>(QLatin1String(name));
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }

    type(QStringLiteral("7"));
    QCOMPARE(valueBox()->text(), QStringLiteral("7"));
}

void TestMainWindow::clientArea()
{
    QWidget *client = m_window->centralWidget();
    QCOMPARE(client->size(), QSize(500, 442));
    QCOMPARE(client->y(), m_window->menuBar()->geometry().bottom() + 1);
    QCOMPARE(m_window->size(), QSize(500, 442 + m_window->menuBar()->height()));
    QCOMPARE(m_window->minimumSize(), m_window->size());
    QCOMPARE(m_window->maximumSize(), m_window->size());
    const Qt::WindowFlags f = m_window->windowFlags();
    QVERIFY(!(f & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
    QVERIFY(f & Qt::WindowCloseButtonHint);
    QVERIFY(f & Qt::WindowSystemMenuHint);
    QVERIFY(!m_window->menuBar()->isNativeMenuBar());
}

void TestMainWindow::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("Cancel") << "cmdCancel" << twips(6120, 240, 1215, 495);
    QTest::newRow("Label24") << "Label24" << twips(360, 600, 5295, 255);
    QTest::newRow("value box") << "Text1" << twips(1920, 1080, 2055, 345);
    QTest::newRow("GO") << "cmdGo" << twips(4080, 1080, 495, 375);
    for (int i = 0; i < flags::FlagCount; ++i)
        QTest::addRow("flag box %d", i)
            << QStringLiteral("Check1_%1").arg(i) << twips(360, 1680 + 240 * i, 915, 195);
}

void TestMainWindow::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, expected);
    QCOMPARE(child(name)->geometry(), expected);
}

// Auto-size labels fit their text within the designed size; with the design font exactly.
void TestMainWindow::descriptionsFitTheirText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("designed");
    QTest::addColumn<bool>("wraps");
    QTest::newRow("Label2") << "Label2" << twips(360, 1200, 1395, 195) << false;
    const int widths[] = { 2355, 3810, 3045, 4710, 3660, 3270, 3315, 3870, 4320, 3375, 4035, 4635,
        4635, 5355, 3570, 3615, 2880, 2400, 5370, 2415 };
    for (int i = 0; i < flags::FlagCount; ++i)
        QTest::addRow("description %d", i) << QStringLiteral("Label3_%1").arg(i)
                                           << twips(1440, 1680 + 240 * i, widths[i], 195) << false;
    // Keeps its width; its wrapped lines end above Label24 (top 600).
    QTest::newRow("Label23") << "Label23" << twips(360, 120, 5280, 600 - 120) << true;
}

void TestMainWindow::descriptionsFitTheirText()
{
    QFETCH(QString, name);
    QFETCH(QRect, designed);
    QFETCH(bool, wraps);
    auto *label = child<QLabel>(name);
    const QRect r = label->geometry();
    QCOMPARE(r.topLeft(), designed.topLeft());
    QVERIFY2(r.bottom() <= designed.bottom(), qPrintable(QString::number(r.bottom())));
    if (wraps) {
        QCOMPARE(r.width(), designed.width());
        QCOMPARE(r.height(), label->heightForWidth(r.width()));
        if (designFontLoaded())
            QCOMPARE(r.height(), px(510 - 120)); // two lines
    } else {
        QCOMPARE(r.size(), label->sizeHint()); // the text, no more
        QVERIFY2(r.width() <= designed.width(), qPrintable(QString::number(r.width())));
        if (designFontLoaded())
            QCOMPARE(r.size(), designed.size());
    }
}

void TestMainWindow::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Label23")
        << "Label23"
        << "Input current unk4 value and click GO  to see individual unk4 values  OR Click on "
           "individual unk4 values to get a running total to input to OrvanTrk";
    QTest::newRow("Label24")
        << "Label24"
        << "For more detail click on each flag description;  to close, click again";
    QTest::newRow("Label2") << "Label2"
                            << "Current unk 4 value";
    QTest::newRow("GO") << "cmdGo"
                        << "GO";
    QTest::newRow("Cancel") << "cmdCancel"
                            << "Cancel";
    QTest::newRow("box 0") << "Check1_0"
                           << "1";
    QTest::newRow("box 10") << "Check1_10"
                            << "1024";
    QTest::newRow("box 19") << "Check1_19"
                            << "524288";
    for (int i = 0; i < flags::FlagCount; ++i)
        QTest::addRow("description %d", i)
            << QStringLiteral("Label3_%1").arg(i) << latin1(flags::description(i));
}

void TestMainWindow::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget *w = child(name);
    if (auto *label = qobject_cast<QLabel *>(w)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->textFormat(), Qt::PlainText);
    } else {
        QCOMPARE(qobject_cast<QAbstractButton *>(w)->text(), caption);
    }
    if (name != QLatin1String("Label23")) // the one label that wraps
        QVERIFY(w->fontMetrics().horizontalAdvance(caption) <= w->width());
}

void TestMainWindow::menus()
{
    const QList<QAction *> bar = m_window->menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    QCOMPARE(bar[0]->menu()->objectName(), QStringLiteral("mnuFile"));
    QCOMPARE(bar[0]->text(), QStringLiteral("&File"));
    QCOMPARE(bar[1]->menu()->objectName(), QStringLiteral("mnuHelp"));
    QCOMPARE(bar[1]->text(), QStringLiteral("&Help"));

    const QList<QAction *> file = bar[0]->menu()->actions();
    const QList<QAction *> help = bar[1]->menu()->actions();
    QCOMPARE(file.size(), 1);
    QCOMPARE(help.size(), 3);
    const QList<QPair<QAction *, QString>> entries = {
        { file[0], QStringLiteral("mnuFileExit|E&xit") },
        { help[0], QStringLiteral("mnuFWO|&What is [FWO]?...") },
        { help[1], QStringLiteral("mnuSeparator|") },
        { help[2], QStringLiteral("mnuHelpAbout|&About Orvanunk4...") },
    };
    for (const auto &[action, expected] : entries) {
        QCOMPARE(action->objectName() + '|' + action->text(), expected);
        QVERIFY(action->shortcut().isEmpty());
        QVERIFY(action->isEnabled() && action->isVisible() && !action->isChecked());
    }
    QVERIFY(help[1]->isSeparator());
}

void TestMainWindow::tabOrder()
{
    QStringList expected { QStringLiteral("cmdGo") };
    for (int i = 0; i < flags::FlagCount; ++i)
        expected << QStringLiteral("Check1_%1").arg(i);
    expected << QStringLiteral("cmdCancel") << QStringLiteral("Text1");

    QStringList visited;
    for (int k = 0; k < expected.size(); ++k) {
        key(Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void TestMainWindow::resources()
{
    const QIcon icon = MainWindow::programIcon();
    QVERIFY(QFile::exists(QStringLiteral(":/main/orvanunk4.png")));
    QCOMPARE(icon.availableSizes(), QList<QSize> { QSize(32, 32) });
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(QApplication::font().pointSizeF(), 8.25);
    QCOMPARE(valueBox()->font().pointSizeF(), 9.75);
    QCOMPARE(valueBox()->font().family(), QApplication::font().family());
    if (designFontLoaded())
        QCOMPARE(QFontInfo(QApplication::font()).family(), QStringLiteral("MS Sans Serif"));
    else
        qWarning("the design font is not compiled in: widths are only checked to fit");
    // The classic style's check box is as high as a flag row.
    QCOMPARE(box(0)->style()->pixelMetric(QStyle::PM_IndicatorHeight), px(195));
}

void TestMainWindow::goTicks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("ticks"); // in the order ticked
    QTest::addColumn<QStringList>("copies"); // the clipboard at each change
    QTest::addColumn<QString>("valueAfter");
    QTest::addColumn<bool>("message");

    QStringList all;
    QList<int> down;
    for (int k = 19, sum = 0; k >= 0; --k) {
        down << k;
        all << QString::number(sum += 1 << k);
    }

    QTest::newRow("12 ticks 3 then 2")
        << "12" << QList<int> { 3, 2 } << QStringList { "8", "12" } << "12" << false;
    QTest::newRow("1040 ticks 10 then 4")
        << "1040" << QList<int> { 10, 4 } << QStringList { "1024", "1040" } << "1040" << false;
    QTest::newRow("0012 shows 12")
        << "0012" << QList<int> { 3, 2 } << QStringList { "8", "12" } << "12" << false;
    QTest::newRow("0 ticks nothing, copies nothing")
        << "0" << QList<int> {} << QStringList {} << "0" << false;
    QTest::newRow("000") << "000" << QList<int> {} << QStringList {} << "000" << false;
    QTest::newRow("1") << "1" << QList<int> { 0 } << QStringList { "1" } << "1" << false;
    QTest::newRow("524288") << "524288" << QList<int> { 19 } << QStringList { "524288" } << "524288"
                            << false;
    QTest::newRow("1048575 ticks all") << "1048575" << down << all << "1048575" << false;
    QTest::newRow("1048576 ticks all, then the message")
        << "1048576" << down << all << "1048575" << true;
    QTest::newRow("400 nines") << QString(400, QLatin1Char('9')) << down << all << "1048575"
                               << true;
    QTest::newRow("empty after Delete") << "" << QList<int> {} << QStringList {} << "" << true;
}

void TestMainWindow::goTicks()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, ticks);
    QFETCH(QStringList, copies);
    QFETCH(QString, valueAfter);
    QFETCH(bool, message);

    click(valueBox());
    if (typed.isEmpty())
        key(Qt::Key_Delete); // the whole "0" is selected
    type(typed);
    QCOMPARE(valueBox()->text(), typed);
    m_toggles.clear();

    const SeenMessage seen = clickGo();

    QCOMPARE(m_toggles, ticks);
    QCOMPARE(m_clipboard, copies);
    QCOMPARE(m_valueAtCopy, copies); // the value box passes through each total
    QCOMPARE(valueBox()->text(), valueAfter);
    QCOMPARE(QGuiApplication::clipboard()->text(), copies.isEmpty() ? Untouched : copies.last());
    QCOMPARE(seen.shown, message);
    if (message) {
        QCOMPARE(seen.title, QStringLiteral("Orvanunk4"));
        QCOMPARE(seen.text,
            QStringLiteral("Invalid value entered. Largest acceptable value is 1048575"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(seen.buttonCount, 1);
        QCOMPARE(seen.valueBoxText, valueAfter); // the ticks come first
    }
    QVERIFY(!goButton()->isEnabled());
    QVERIFY(m_window->isVisible());
}

// Each untick rewrites the value box, so GO reads "0" and ticks nothing.
void TestMainWindow::goWithBoxesTicked()
{
    click(box(0));
    click(box(3));
    QCOMPARE(m_clipboard, (QStringList { "1", "9" }));
    m_clipboard.clear();
    const SeenMessage seen = clickGo();
    QCOMPARE(m_clipboard, (QStringList { "8", "0" }));
    QVERIFY(ticked().isEmpty());
    QCOMPARE(valueBox()->text(), QStringLiteral("0"));
    QVERIFY(!seen.shown);
    QVERIFY(!goButton()->isEnabled());
}

void TestMainWindow::tickingByHand()
{
    type(QStringLiteral("12"));
    clickGo(); // GO is now disabled: the boxes still work
    m_clipboard.clear();
    click(box(2));
    click(box(3));
    click(box(3));
    click(box(0));
    QCOMPARE(m_clipboard, (QStringList { "8", "0", "8", "9" }));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("9"));
    click(box(3));
    QCOMPARE(valueBox()->text(), QStringLiteral("1"));
    QVERIFY(!goButton()->isEnabled());
}

void TestMainWindow::resetUnticksAscending()
{
    type(QStringLiteral("12"));
    clickGo();
    click(box(0));
    m_toggles.clear();
    m_clipboard.clear();

    click(valueBox(), QPoint(3, 3)); // the caret goes first, then the reset selects all

    QCOMPARE(m_toggles, (QList<int> { -100, -102, -103 }));
    QCOMPARE(m_clipboard, (QStringList { "12", "8", "0" }));
    QCOMPARE(valueBox()->text(), QStringLiteral("0"));
    QCOMPARE(valueBox()->selectedText(), QStringLiteral("0"));
    QVERIFY(goButton()->isEnabled());

    // Every click resets, also on the box that has the focus.
    type(QStringLiteral("5"));
    QCOMPARE(valueBox()->text(), QStringLiteral("5"));
    click(valueBox());
    QCOMPARE(valueBox()->selectedText(), QStringLiteral("0"));
    type(QStringLiteral("7"));
    QCOMPARE(valueBox()->text(), QStringLiteral("7"));
}

void TestMainWindow::tabIntoValueBoxDoesNotReset()
{
    type(QStringLiteral("12"));
    clickGo();
    for (int k = 0; k < 30 && QApplication::focusWidget() != valueBox(); ++k)
        key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), valueBox());
    QCOMPARE(valueBox()->text(), QStringLiteral("12"));
    QCOMPARE(ticked(), (QList<int> { 2, 3 }));
    QVERIFY(!goButton()->isEnabled());
}

// The value box after typing "123" (and selecting it all with Shift+Home), then one key.
void TestMainWindow::keys_data()
{
    QTest::addColumn<bool>("selectFirst");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("selectedAfter");
    QTest::addColumn<QString>("text"); // what the key types, where QTest would not say it

    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const QString none;
    QTest::newRow("digit replaces the selection") << true << int(Qt::Key_4) << 0 << "4"
                                                  << "" << none;
    QTest::newRow("Delete edits") << true << int(Qt::Key_Delete) << 0 << ""
                                  << "" << none;
    QTest::newRow("Delete as X11 sends it") << true << int(Qt::Key_Delete) << 0 << ""
                                            << "" << QStringLiteral("\x7f");
    QTest::newRow("Home moves") << true << int(Qt::Key_Home) << 0 << "123"
                                << "" << none;
    QTest::newRow("Left then digit") << false << int(Qt::Key_Left) << 0 << "123"
                                     << "" << none;
    // Characters other than digits, and the commands Qt's line edit would run.
    const QList<QPair<const char *, QPair<int, int>>> blocked = {
        { "letter", { Qt::Key_A, 0 } },
        { "minus", { Qt::Key_Minus, 0 } },
        { "full stop", { Qt::Key_Period, 0 } },
        { "space", { Qt::Key_Space, 0 } },
        { "Backspace", { Qt::Key_Backspace, 0 } },
        { "Ctrl+Backspace", { Qt::Key_Backspace, ctrl } },
        { "Ctrl+X", { Qt::Key_X, ctrl } },
        { "Shift+Delete", { Qt::Key_Delete, shift } },
        { "Ctrl+V", { Qt::Key_V, ctrl } },
        { "Shift+Insert", { Qt::Key_Insert, shift } },
        { "Ctrl+C", { Qt::Key_C, ctrl } },
        { "Ctrl+Insert", { Qt::Key_Insert, ctrl } },
        { "Ctrl+K", { Qt::Key_K, ctrl } },
        { "Ctrl+Z", { Qt::Key_Z, ctrl } },
        { "Ctrl+Shift+Z", { Qt::Key_Z, ctrl | shift } },
        { "Ctrl+Y", { Qt::Key_Y, ctrl } },
    };
    for (const auto &[name, k] : blocked)
        QTest::newRow(name) << true << k.first << k.second << "123"
                            << "123" << none;
    QTest::newRow("Ctrl+A") << false << int(Qt::Key_A) << ctrl << "123"
                            << "" << none;
    QTest::newRow("Ctrl+C as X11 sends it") << true << int(Qt::Key_C) << ctrl << "123"
                                            << "123" << QStringLiteral("\x03");
    QTest::newRow("Ctrl+Backspace as X11 sends it")
        << true << int(Qt::Key_Backspace) << ctrl << "123"
        << "123" << QStringLiteral("\x7f");
}

void TestMainWindow::keys()
{
    QFETCH(bool, selectFirst);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    QFETCH(QString, selectedAfter);
    QFETCH(QString, text);

    QGuiApplication::clipboard()->setText(QStringLiteral("777"));
    type(QStringLiteral("123"));
    if (selectFirst)
        this->key(Qt::Key_Home, Qt::ShiftModifier);
    m_clipboard.clear();

    if (text.isNull()) {
        this->key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    } else {
        for (auto action : { QTest::Press, QTest::Release })
            QTest::sendKeyEvent(action, m_window->windowHandle(), Qt::Key(key), text,
                Qt::KeyboardModifiers(modifiers));
    }

    QCOMPARE(valueBox()->text(), after);
    QCOMPARE(valueBox()->selectedText(), selectedAfter);
    QVERIFY(m_clipboard.isEmpty()); // nothing copied or cut
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("777"));
    if (key == Qt::Key_Left) { // the caret moved: a digit goes in before the 3
        type(QStringLiteral("9"));
        QCOMPARE(valueBox()->text(), QStringLiteral("1293"));
    }
}

// Drops and the middle button bring nothing in; the context menu's Paste does, and GO then
// reports text that is not a number.
void TestMainWindow::noOtherWayIn()
{
    QVERIFY(!valueBox()->acceptDrops());
    type(QStringLiteral("123"));
    QTest::mouseClick(m_window->windowHandle(), Qt::MiddleButton, {},
        valueBox()->mapTo(m_window, valueBox()->rect().center()));
    QCOMPARE(valueBox()->text(), QStringLiteral("123")); // no paste, no reset

    click(valueBox());
    QGuiApplication::clipboard()->setText(QStringLiteral("12abc"));
    m_clipboard.clear();
    std::unique_ptr<QMenu> menu(valueBox()->createStandardContextMenu());
    QAction *paste = nullptr;
    for (QAction *a : menu->actions())
        if (a->text().startsWith(QLatin1String("&Paste")))
            paste = a;
    QVERIFY(paste && paste->isEnabled());
    paste->trigger();
    QCOMPARE(valueBox()->text(), QStringLiteral("12abc"));

    const SeenMessage seen = clickGo();
    QVERIFY(seen.shown);
    QCOMPARE(seen.text, latin1(flags::InvalidValueMessage));
    QVERIFY(ticked().isEmpty());
    QVERIFY(m_clipboard.isEmpty());
    QVERIFY(!goButton()->isEnabled());
}

void TestMainWindow::enterAndEscapeDoNothing()
{
    QSignalSpy goSpy(goButton(), &QPushButton::clicked);
    QSignalSpy cancelSpy(child<QPushButton>(QStringLiteral("cmdCancel")), &QPushButton::clicked);
    type(QStringLiteral("12"));
    for (Qt::Key k : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape })
        key(k);
    QCOMPARE(goSpy.count(), 0);
    QCOMPARE(cancelSpy.count(), 0);
    QCOMPARE(valueBox()->text(), QStringLiteral("12"));
    QVERIFY(ticked().isEmpty());
    QVERIFY(m_window->isVisible());
}

void TestMainWindow::endProgram_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("Cancel") << false;
    QTest::newRow("File > Exit") << true;
}

// Cancel and File > Exit leave the event loop at once, closing the About window too.
void TestMainWindow::endProgram()
{
    QFETCH(bool, byMenu);
    chooseMenu(Qt::Key_H, Qt::Key_A);
    QTRY_VERIFY(AboutWindow::current() && AboutWindow::current()->isVisible());
    QPointer<AboutWindow> about = AboutWindow::current();
    m_window->activateWindow(); // the user goes back to the main window
    QVERIFY(QTest::qWaitForWindowActive(m_window));

    QTimer::singleShot(0, this, [&] {
        if (byMenu)
            chooseMenu(Qt::Key_F, Qt::Key_X);
        else
            click(child(QStringLiteral("cmdCancel")));
    });
    QTimer::singleShot(5000, this, [] { QCoreApplication::exit(1); }); // watchdog
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!about);
    QVERIFY(!m_window->isVisible());
}

// The close button closes the main window only; the program ends with its last window.
void TestMainWindow::closeButtonKeepsAboutWindowAlive()
{
    QVERIFY(QApplication::quitOnLastWindowClosed());
    chooseMenu(Qt::Key_H, Qt::Key_A);
    QTRY_VERIFY(AboutWindow::current());
    QPointer<AboutWindow> about = AboutWindow::current();
    QVERIFY(!about->parent());

    bool aliveAfterMainClosed = false;
    // As the title bar's close button does.
    QTimer::singleShot(0, this, [&] { m_window->windowHandle()->close(); });
    QTimer::singleShot(100, this, [&] {
        aliveAfterMainClosed = about && about->isVisible();
        QVERIFY(about);
        about->close();
    });
    QTimer::singleShot(5000, this, [] { QCoreApplication::exit(1); }); // watchdog
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(aliveAfterMainClosed);
}

void TestMainWindow::popup_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("height");
    const int heights[] = { 255, 1440, 720, 720, 820, 500, 480, 720, 1680, 1250, 2265, 1665, 1425,
        1665, 1275, 1275, 1635, 675, 1035, 675 };
    // 0-15 hang down from the description; 16-19 end at its bottom (5715, 5955, 6195, 6435).
    const int standingTops[] = { 4080, 5280, 5160, 5760 };
    for (int i = 0; i < flags::FlagCount; ++i)
        QTest::addRow("flag %d", i)
            << i << (i < 16 ? 1680 + 240 * i : standingTops[i - 16]) << heights[i];
}

void TestMainWindow::popup()
{
    QFETCH(int, index);
    QFETCH(int, top);
    QFETCH(int, height);
    click(description(index));
    QLabel *p = popupLabel();
    QVERIFY(p->isVisible());
    QCOMPARE(p->geometry(), twips(1440, top, 4740, height));
    QCOMPARE(p->text(), detail(index));
    if (index >= 16)
        QCOMPARE(p->geometry().bottom(), description(index)->geometry().bottom());
    // With the design font every explanation fits its height.
    if (designFontLoaded())
        QVERIFY2(p->heightForWidth(p->width()) <= p->height(),
            qPrintable(QString::number(p->heightForWidth(p->width()))));
}

void TestMainWindow::popupLooks()
{
    QLabel *p = popupLabel();
    QCOMPARE(p->frameShape(), QFrame::Box);
    QCOMPARE(p->frameShadow(), QFrame::Plain);
    QCOMPARE(p->lineWidth(), 1);
    QVERIFY(p->autoFillBackground());
    QCOMPARE(p->backgroundRole(), QPalette::ToolTipBase);
    QCOMPARE(p->foregroundRole(), QPalette::ToolTipText);
    QVERIFY(p->wordWrap());
    QCOMPARE(p->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QCOMPARE(p->textFormat(), Qt::PlainText);
    // Stacked above every other control: the last child is drawn last and hit first.
    QCOMPARE(m_window->centralWidget()->children().constLast(), p);
}

// CR LF is one line break, the CR no glyph, and runs of spaces stay.
void TestMainWindow::popupShowsBreaksNotCarriageReturns()
{
    click(description(8));
    QLabel *p = popupLabel();
    QVERIFY(p->text().contains(QStringLiteral("FPS.") + QString(37, QLatin1Char(' ')) + "See"));
    const QImage shown = p->grab().toImage();
    p->setText(detail(8).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(p->grab().toImage(), shown);
    p->setText(detail(8).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    QVERIFY(p->grab().toImage() != shown); // the breaks are drawn
}

void TestMainWindow::popupHidesOnClick()
{
    const QPoint onDescription = description(0)->mapTo(m_window, QPoint(5, 5));
    QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {}, onDescription);
    QVERIFY(!popupLabel()->isVisible()); // a click is the left button's
    click(description(0));
    QVERIFY(popupLabel()->isVisible());
    QCOMPARE(popupLabel()->text(), QStringLiteral("Flips texture co-ordinates left-right"));
    QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {}, onDescription);
    QVERIFY(popupLabel()->isVisible());
    click(popupLabel(), QPoint(popupLabel()->width() - 2, 2));
    QVERIFY(!popupLabel()->isVisible());
    click(description(0));
    QVERIFY(popupLabel()->isVisible());
}

void TestMainWindow::popupTakesClicksOverDescriptions()
{
    // A click beside a description's text is no click on it.
    QLabel *first = description(0);
    click(first->parentWidget(), first->geometry().topRight() + QPoint(20, 5));
    QVERIFY(!popupLabel()->isVisible());

    click(description(1));
    QCOMPARE(popupLabel()->geometry(), twips(1440, 1920, 4740, 3360 - 1920));
    click(description(3)); // lies under the popup, which takes the click
    QVERIFY(!popupLabel()->isVisible());
    click(description(3));
    QVERIFY(popupLabel()->isVisible());
    QCOMPARE(popupLabel()->text(), detail(3));
    QCOMPARE(popupLabel()->y(), px(2400));
}

void TestMainWindow::popupIsReplaced()
{
    click(description(3));
    click(description(10));
    QCOMPARE(m_window->findChildren<ClickableLabel *>(QStringLiteral("Label1")).size(), 1);
    QCOMPARE(popupLabel()->text(), detail(10));
    QCOMPARE(popupLabel()->geometry(), twips(1440, 4080, 4740, 2265));
}

void TestMainWindow::fwoNote()
{
    click(description(19));
    chooseMenu(Qt::Key_H, Qt::Key_W);
    QTRY_COMPARE(popupLabel()->text(), latin1(flags::fwoNote()));
    QVERIFY(popupLabel()->isVisible());
    QCOMPARE(popupLabel()->geometry(), twips(500, 50, 4800, 500));
    click(popupLabel()); // over the instructions, and it takes the click
    QVERIFY(!popupLabel()->isVisible());
}

void TestMainWindow::popupLeftAlone_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("GO") << "go";
    QTest::newRow("GO with the message") << "go-invalid";
    QTest::newRow("flag box") << "box";
    QTest::newRow("value box click") << "value";
}

void TestMainWindow::popupLeftAlone()
{
    QFETCH(QString, action);
    click(description(5));
    const QRect place = popupLabel()->geometry();
    if (action == QLatin1String("go")) {
        type(QStringLiteral("32"));
        clickGo();
        QCOMPARE(ticked(), QList<int> { 5 });
    } else if (action == QLatin1String("go-invalid")) {
        type(QStringLiteral("2000000"));
        QVERIFY(clickGo().shown);
    } else if (action == QLatin1String("box")) {
        click(box(5));
        QVERIFY(box(5)->isChecked());
    } else {
        click(valueBox());
    }
    QVERIFY(popupLabel()->isVisible());
    QCOMPARE(popupLabel()->geometry(), place);
    QCOMPARE(popupLabel()->text(), detail(5));
}

void TestMainWindow::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QString>("description");
    QTest::newRow("value box") << "Text1"
                               << "Current unk 4 value"
                               << "";
    QTest::newRow("GO") << "cmdGo"
                        << "GO"
                        << "";
    QTest::newRow("Cancel") << "cmdCancel"
                            << "Cancel"
                            << "";
    QTest::newRow("Label24") << "Label24"
                             << "For more detail click on each flag description;  to close, click "
                                "again"
                             << "";
    for (int i = 0; i < flags::FlagCount; i += 5) {
        QTest::addRow("box %d", i) << QStringLiteral("Check1_%1").arg(i)
                                   << latin1(flags::caption(i)) << latin1(flags::description(i));
        QTest::addRow("description %d", i)
            << QStringLiteral("Label3_%1").arg(i) << latin1(flags::description(i)) << "";
    }
    QTest::newRow("popup of flag 10") << "Label1" << detail(10) << "";
}

void TestMainWindow::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    QFETCH(QString, description);
    if (name == QLatin1String("Label1"))
        click(this->description(10));
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(child(name));
    QVERIFY(a);
    QCOMPARE(a->text(QAccessible::Name), spoken);
    if (!description.isEmpty())
        QCOMPARE(a->text(QAccessible::Description), description);
    QVERIFY(!a->state().invisible);
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
