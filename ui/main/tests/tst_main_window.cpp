// Drives the main window as a user would, through the behaviour table's driver (window_test.h):
// clicks land on the window at a widget's place (so the popup's stacking counts), keys go to
// whatever has the focus, and the real clipboard and the real message box are watched. Controls
// are checked against their designed places in pixels.

#include "form/main_form_layout.h"
#include "ui/main/appearance.h"
#include "ui/main/main_window.h"
#include "ui/main/value_box.h"
#include "ui/tests/window_test.h"

#include <behaviour_rows.h>

#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

#include <tuple>

using layout::px;

namespace {

// Rows only Qt plays, in the table's form: the commands of Qt's line edit that no row's key
// gives, the middle button, and what the context menu's Undo leaves to redo.
const char QtRows[] = R"(
Ctrl+K deletes nothing, copies nothing | type 123 · key Home · key Ctrl+K | 123 | none | start | on | Text1 | none | none
Ctrl+Y redoes nothing                  | type 123 · undo · key Ctrl+Y | 0 | none | start | on | Text1 | none | none
Ctrl+Shift+Z redoes nothing            | type 123 · undo · key Ctrl+Shift+Z | 0 | none | start | on | Text1 | none | none
the middle button pastes nothing, resets nothing | type 12 · click cmdGo · type 3 · middleclick Text1 | 3 | 2 3 | 12 | on | Text1 | none | none
)";
const std::vector<behaviour::Row> Rows
    = behaviour::parse(std::string(behaviour::Table) + QtRows, flags::FlagCount);
enum class Sizing { Fixed, FitsText, Wraps };

} // namespace

Q_DECLARE_METATYPE(Sizing)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void shouldHaveDefaultValue();
    void controls_data();
    void controls();
    void menus();
    void commands_data();
    void commands();
    void behaviour_data();
    void behaviour();
    void inputMethod_data();
    void inputMethod();
    void popup_data();
    void popup();
    void popupLooks();

private:
    static QString detail(int i) { return QString::fromStdString(flags::detailText(i)); }
    static bool designFontLoaded() { return QFile::exists(":/main/fonts/ms_sans_serif_13.ttf"); }
    ValueBox *valueBox() const { return m_driver->child<ValueBox>("Text1"); }
    QLabel *popupLabel() const { return m_driver->child<QLabel>("Label1"); }
    void play(const char *verb, const char *text) { m_driver->play({ verb, text }); }

    std::unique_ptr<Appearance> m_appearance;
    MainWindow *m_window = nullptr;
    std::unique_ptr<window_test::Driver> m_driver;
};

void TestMainWindow::initTestCase()
{
    window_test::quietPlatformChatter();
    m_appearance = std::make_unique<Appearance>();
}

void TestMainWindow::init()
{
    m_window = new MainWindow(*m_appearance);
    m_driver = std::make_unique<window_test::Driver>(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestMainWindow::cleanup()
{
    m_driver.reset();
    delete m_window;
    m_window = nullptr;
    delete window_test::aboutWindow();
}

// The window: a fixed 7500 x 6630 twips client area below an in-window menu bar, close button
// only. The controls' state at start-up (a selected 0 in the focused value box, nothing else
// done) is the behaviour table's: its rows start from it.
void TestMainWindow::shouldHaveDefaultValue()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Orvan unk4 ver.2.2"));
    QWidget *client = m_window->centralWidget();
    QCOMPARE(client->size(), QSize(500, 442));
    QCOMPARE(client->y(), m_window->menuBar()->geometry().bottom() + 1);
    QCOMPARE(m_window->size(), QSize(500, 442 + m_window->menuBar()->height()));
    QCOMPARE(m_window->minimumSize(), m_window->size());
    QCOMPARE(m_window->maximumSize(), m_window->size());
    const Qt::WindowFlags f = m_window->windowFlags();
    QVERIFY(!(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY((f & Qt::WindowCloseButtonHint) && (f & Qt::WindowSystemMenuHint));
    QVERIFY(!m_window->menuBar()->isNativeMenuBar());

    // The window icon is the program icon as shipped, pixel for pixel.
    const QImage shipped = QImage(QStringLiteral(":/test/orvanunk4.png"));
    QCOMPARE(window_test::rgb(m_window->windowIcon(), 32), window_test::rgb(shipped));
    if (designFontLoaded()) {
        // 8.25 and 9.75 points are character heights of 11 and 13 pixels: the font's 13- and
        // 16-pixel strikes, as Windows draws them.
        for (const auto &[font, pixelSize, ascent] :
            { std::tuple(QApplication::font(), 13, 11), std::tuple(valueBox()->font(), 16, 13) }) {
            QCOMPARE(QFontInfo(font).family(), QStringLiteral("MS Sans Serif"));
            QCOMPARE(QFontInfo(font).pixelSize(), pixelSize);
            QCOMPARE(QFontMetrics(font).ascent(), ascent);
        }
    } else {
        QCOMPARE(QApplication::font().pointSizeF(), 8.25);
        QCOMPARE(valueBox()->font().pointSizeF(), 9.75);
        qWarning("the design font is not compiled in: widths are only checked to fit");
    }
    // The classic style's check box is as high as a flag row.
    QCOMPARE(
        m_driver->child("Check1_0")->style()->pixelMetric(QStyle::PM_IndicatorHeight), px(195));
}

void TestMainWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("designed");
    QTest::addColumn<Sizing>("sizing");
    const auto row = [](const QString &name, const QString &text, QRect designed, Sizing sizing) {
        QTest::newRow(qPrintable(name)) << name << text << designed << sizing;
    };
    // The designed places in pixels (twips / 15); the texts as the user reads them. Label23
    // is two lines of the design font high, above Label24.
    row("Label23",
        "Input current unk4 value and click GO  to see individual unk4 values  OR Click on "
        "individual unk4 values to get a running total to input to OrvanTrk",
        QRect(24, 8, 352, 26), Sizing::Wraps);
    row("cmdCancel", "Cancel", QRect(408, 16, 81, 33), Sizing::Fixed);
    row("Label24", "For more detail click on each flag description;  to close, click again",
        QRect(24, 40, 353, 17), Sizing::Fixed);
    row("Text1", "0", QRect(128, 72, 137, 23), Sizing::Fixed);
    row("cmdGo", "GO", QRect(272, 72, 33, 25), Sizing::Fixed);
    row("Label2", "Current unk 4 value", QRect(24, 80, 93, 13), Sizing::FitsText);
    // The flag rows, 16 pixels apart from 112 down; each description as wide as its text.
    const int descriptionWidths[flags::FlagCount] = { 157, 254, 203, 314, 244, 218, 221, 258, 288,
        225, 269, 309, 309, 357, 238, 241, 192, 160, 358, 161 };
    for (int i = 0; i < flags::FlagCount; ++i) {
        const int top = 112 + 16 * i;
        row(QStringLiteral("Check1_%1").arg(i), QString::number(1 << i), QRect(24, top, 61, 13),
            Sizing::Fixed);
        row(QStringLiteral("Label3_%1").arg(i), toQString(flags::description(i)),
            QRect(96, top, descriptionWidths[i], 13), Sizing::FitsText);
    }
}

// Fixed controls take their designed place; labels fit their text, exactly so in the design
// font, and in any other font within the designed room.
void TestMainWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, designed);
    QFETCH(Sizing, sizing);
    QWidget *w = m_driver->child(name);
    QCOMPARE(w->property("text").toString(), text);
    const QRect r = w->geometry();
    QCOMPARE(r.topLeft(), designed.topLeft());
    if (sizing == Sizing::Fixed || designFontLoaded())
        QCOMPARE(r.size(), designed.size());
    else // Label23 still ends above Label24
        QVERIFY(r.width() <= designed.width()
            && r.height() <= (sizing == Sizing::Wraps ? px(600 - 120) : designed.height()));
    if (sizing == Sizing::Wraps)
        QCOMPARE(r.size(), QSize(designed.width(), w->heightForWidth(designed.width())));
    else if (sizing == Sizing::FitsText)
        QCOMPARE(r.size(), w->sizeHint()); // the text, no more
    if (sizing != Sizing::Wraps)
        QVERIFY(w->fontMetrics().horizontalAdvance(text) <= w->width());

    // Screen readers say the text; the value box is named by its label, each flag box is
    // described by its description.
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    QCOMPARE(a->text(QAccessible::Name), name == "Text1" ? "Current unk 4 value" : text);
    if (name.startsWith(QLatin1String("Check1_")))
        QCOMPARE(
            a->text(QAccessible::Description), toQString(flags::description(name.mid(7).toInt())));
    QVERIFY(!a->state().invisible);
}

// The menu bar's entries, and the value box's context menu, all without keys (none of the
// context menu's works in the box: the table's rows). Drops bring nothing in.
void TestMainWindow::menus()
{
    QStringList seen;
    for (QAction *bar : m_window->menuBar()->actions()) {
        seen << bar->menu()->objectName() + '|' + bar->text();
        for (QAction *a : bar->menu()->actions()) {
            seen << "  " + a->objectName() + '|' + a->text();
            QVERIFY(a->shortcut().isEmpty() && a->isEnabled() && a->isVisible());
        }
    }
    const QStringList expected = { "mnuFile|&File", "  mnuFileExit|E&xit", "mnuHelp|&Help",
        "  mnuFWO|&What is [FWO]?...", "  mnuSeparator|", "  mnuHelpAbout|&About Orvanunk4..." };
    QCOMPARE(seen, expected);
    QVERIFY(m_window->findChild<QAction *>(QStringLiteral("mnuSeparator"))->isSeparator());
    const QStringList context { "&Undo", "&Redo", "", "Cu&t", "&Copy", "&Paste", "Delete", "",
        "Select All" };
    QCOMPARE(m_driver->contextMenu({}), context);
    QVERIFY(!valueBox()->acceptDrops());
}

void TestMainWindow::commands_data()
{
    QTest::addColumn<QString>("control"); // a menu entry or a button, by its name
    QTest::addColumn<QString>("effect");
    const auto row = [](const char *name, const char *control, const char *effect) {
        QTest::newRow(name) << QString(control) << QString(effect);
    };
    row("Cancel ends the program", "cmdCancel", "ends");
    row("File > Exit ends the program", "mnuFileExit", "ends");
    row("Help > About opens the About window", "mnuHelpAbout", "About open");
    row("the About window's OK closes it", "cmdOK", "About closed");
}

// Each menu entry and command button reaches its own command, and no other: chosen (as a
// screen reader's action would), it has its effect and none of the others'. GO and What is
// [FWO]? are the behaviour table's.
void TestMainWindow::commands()
{
    QFETCH(QString, control);
    QFETCH(QString, effect);
    play("type", "12"); // for a GO that would tick 2 and 3
    QWidget *in = m_window;
    if (control == QLatin1String("cmdOK")) {
        play("menu", "mnuHelpAbout");
        QTRY_VERIFY((in = window_test::aboutWindow()));
    }
    QSignalSpy end(m_window, &MainWindow::endRequested);
    if (auto *action = in->findChild<QAction *>(control))
        action->trigger();
    else
        window_test::child<QPushButton>(in, control)->click();
    QCOMPARE(end.count(), effect == QLatin1String("ends") ? 1 : 0);
    QVERIFY(m_window->isVisible() && m_driver->ticked().isEmpty() && !popupLabel()->isVisible());
    QTRY_COMPARE(window_test::aboutWindow() != nullptr, effect == QLatin1String("About open"));
}

// The behaviour table, played on the real window: clicks and keys as a user gives them, the real
// clipboard, the real message box.
void TestMainWindow::behaviour_data()
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < Rows.size(); ++i)
        QTest::newRow(Rows[i].name.c_str()) << int(i);
}

void TestMainWindow::behaviour()
{
    QFETCH(int, row);
    const behaviour::Row &r = Rows[static_cast<std::size_t>(row)];
    for (const behaviour::Action &action : r.actions)
        m_driver->play(action);

    QCOMPARE(valueBox()->text(), QString::fromStdString(r.value));
    QCOMPARE(m_driver->ticked(), QList<int>(r.ticked.begin(), r.ticked.end()));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(r.clipboard));
    QCOMPARE(m_driver->child("cmdGo")->isEnabled(), r.goEnabled);
    // The control that has the focus whenever the window is active: the offscreen platform
    // activates no window again after a message box or a menu has closed.
    if (r.focus != "*")
        QCOMPARE(m_window->focusWidget()->objectName(), QString::fromStdString(r.focus));
    QCOMPARE(m_driver->limitShown, r.limitMessage);
    QTRY_COMPARE(popupLabel()->isVisible(), r.popup != behaviour::NoPopup);
    if (r.popup == behaviour::FwoPopup)
        QCOMPARE(popupLabel()->text(), toQString(flags::fwoNote()));
    else if (r.popup >= 0)
        QCOMPARE(popupLabel()->text(), detail(r.popup));
    QVERIFY(m_window->isVisible());
}

// After typing "7", one input method event as Qt's Compose support or ibus sends it: the text
// being composed, the commit and the text before the caret it replaces. The box keeps "7" unless
// all of the commit is digits, and shows the composed text only while it is all digits.
void TestMainWindow::inputMethod_data()
{
    QTest::addColumn<QString>("preedit");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<int>("replaced");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("preeditShown");

    const auto row = [](const char *name, const char *preedit, const char *commit, int replaced,
                         const char *after, bool preeditShown) {
        QTest::newRow(name) << QString::fromUtf8(preedit) << QString::fromUtf8(commit) << replaced
                            << QString::fromUtf8(after) << preeditShown;
    };
    // name, text being composed, commit, characters it replaces, text after, composed text shown
    row("outside the BMP", "", "\U0001D7CF", 0, "7", false); // MATHEMATICAL BOLD DIGIT ONE
    row("refused commit keeps what it replaces", "", "\u00e9", 1, "7", false);
    row("digit commit replaces", "", "5", 1, "5", false);
    row("dead key shown while composing", "\u00b4", "", 0, "7", false);
    row("digit shown while composing", "4", "", 0, "7", true);
    row("refused preedit, digit commit", "\u00b4", "3", 0, "73", false);
    row("digit preedit, refused commit", "4", "\u00e9", 0, "7", true);
}

void TestMainWindow::inputMethod()
{
    QFETCH(QString, preedit);
    QFETCH(QString, commit);
    QFETCH(int, replaced);
    QFETCH(QString, after);
    QFETCH(bool, preeditShown);

    play("type", "7");
    const int caretX = valueBox()->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    QList<QInputMethodEvent::Attribute> attributes;
    if (!preedit.isEmpty())
        attributes << QInputMethodEvent::Attribute(
            QInputMethodEvent::Cursor, int(preedit.size()), 1, QVariant());
    QInputMethodEvent event(preedit, attributes);
    event.setCommitString(commit, -replaced, replaced);
    // Qt's Compose support sends it straight to the focus object.
    QCoreApplication::sendEvent(QGuiApplication::focusObject(), &event);

    QCOMPARE(valueBox()->text(), after);
    // Text being composed stands after the caret and moves it along.
    if (after == QStringLiteral("7")) {
        const int x = valueBox()->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        QCOMPARE(x > caretX, preeditShown);
    }
}

void TestMainWindow::popup_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < flags::FlagCount; ++i)
        QTest::addRow("flag %d", i) << i;
}

// A click on a description shows its explanation where the form places it.
void TestMainWindow::popup()
{
    QFETCH(int, index);
    play("click", qPrintable(QStringLiteral("Label3_%1").arg(index)));
    QLabel *p = popupLabel();
    QVERIFY(p->isVisible());
    QCOMPARE(p->geometry(), window_test::pixels(form::MainForm::popupPlace(index)));
    QCOMPARE(p->text(), detail(index));
    QCOMPARE(QAccessible::queryAccessibleInterface(p)->text(QAccessible::Name), detail(index));
    // With the design font every explanation fits its height.
    if (designFontLoaded())
        QVERIFY2(p->heightForWidth(p->width()) <= p->height(),
            qPrintable(QString::number(p->heightForWidth(p->width()))));
}

// A framed box of wrapped plain text in window-text colour on the tooltip background, in which
// CR LF is one line break, the CR no glyph, and runs of spaces stay.
void TestMainWindow::popupLooks()
{
    play("click", "Label3_8");
    QLabel *p = popupLabel();
    QCOMPARE(p->frameStyle(), QFrame::Box | QFrame::Plain);
    QCOMPARE(p->lineWidth(), 1);
    QVERIFY(p->autoFillBackground() && p->wordWrap());
    QCOMPARE(p->backgroundRole(), QPalette::ToolTipBase);
    QCOMPARE(p->foregroundRole(), QPalette::WindowText);
    QCOMPARE(p->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QCOMPARE(p->textFormat(), Qt::PlainText);

    QVERIFY(p->text().contains(QStringLiteral("FPS.") + QString(37, QLatin1Char(' ')) + "See"));
    const QImage shown = window_test::rgb(p);
    p->setText(detail(8).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(window_test::rgb(p), shown);
    p->setText(detail(8).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    QVERIFY(window_test::rgb(p) != shown); // the breaks are drawn
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
