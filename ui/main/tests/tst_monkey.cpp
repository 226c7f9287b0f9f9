// A seeded monkey: thousands of random actions of the behaviour table's language on the main
// window, played by the table's Qt driver, with the program's invariants checked after every
// one. On a failure it prints the seed and a shortened list of actions that still fails, as a
// row's actions, so that the fault can be replayed and kept as a row.
//
// ORVAN_MONKEY_SEED and ORVAN_MONKEY_ACTIONS override the seed and the number of actions.

#include "form/main_form.h"
#include "ui/main/appearance.h"
#include "ui/main/main_window.h"
#include "ui/tests/window_test.h"

#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

#include <optional>
#include <random>

namespace {

using Actions = std::vector<behaviour::Action>;

// Settled once, before the first window.
std::unique_ptr<Appearance> s_appearance;

// What the runs did, so a run that exercised nothing shows.
int s_boxChanges = 0, s_messages = 0;

// Clicks of each kind on every control (Cancel only ends the program where someone listens),
// every key of the table, digits and other characters (control and beyond ASCII too) typed or
// arriving whole, texts put on the clipboard and pasted, the [FWO] note and the About window.
behaviour::Action randomAction(std::mt19937 &rng)
{
    const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    static const char *const Keys[] = { "Backspace", "Enter", "Escape", "Delete", "Home", "End",
        "Left", "Right", "Tab", "Shift+Tab", "Space", "F1", "Shift+Home", "Ctrl+A", "Ctrl+C",
        "Ctrl+V", "Ctrl+X", "Ctrl+Z", "Ctrl+Insert", "Shift+Insert", "Shift+Delete" };
    static const char *const Texts[] = { "12", "1040", "abc", "", "  7", "-3", "1.5e3", "0012",
        "1048576", "99999999999999999999999999999", "\xc3\xa9" };
    const auto control = [&]() -> std::string {
        if (const int n = pick(10); n < 6)
            return (n < 3 ? "Check1_" : "Label3_") + std::to_string(pick(flags::FlagCount));
        return std::array { "cmdGo", "Text1", "Label1", "cmdCancel" }[pick(5) % 4];
    };
    const auto digits = [&] {
        std::string run(std::size_t(1 + pick(pick(3) == 0 ? 40 : 8)), '0');
        for (char &c : run)
            c = char('0' + pick(10));
        return run;
    };
    const int r = pick(100);
    if (r < 40)
        return { r < 4 ? "doubleclick" : r < 6 ? "rightclick" : "click", control() };
    if (r < 55)
        return { "type", digits() };
    if (r < 62)
        return { "type",
            QString(QChar(pick(3)     ? '!' + pick(94)
                            : pick(2) ? 1 + pick(31)
                                      : 0xa0 + pick(0x3000)))
                .toStdString() };
    if (r < 85)
        return { "key", Keys[pick(int(std::size(Keys)))] };
    if (r < 90)
        return { "copy", Texts[pick(int(std::size(Texts)))] };
    if (r < 97)
        return r < 94 ? behaviour::Action { "paste", "" }
                      : behaviour::Action { "insert", pick(2) ? digits() : "4a" };
    return { "menu", pick(3) ? "mnuFWO" : "mnuHelpAbout" };
}

// One line of a row's actions.
QString describe(const Actions &actions)
{
    QStringList parts;
    for (const behaviour::Action &a : actions)
        parts << QString::fromStdString(a.verb + (a.text.empty() ? "" : " " + a.text));
    return parts.join(QStringLiteral(" \u00b7 "));
}

struct Failure
{
    std::size_t index;
    QString reason;
};

// Plays the actions on a fresh window; the first action after which an invariant failed, with
// the reason, if any. Only Paste brings other characters than digits; GO goes off by GO alone and
// on by a click on the value box or what reaches it; an edit that changes the value turns it on; a
// box changed by any route leaves the value box and the clipboard holding the boxes' sum; an
// explanation stands at a place of its own.
std::optional<Failure> run(const Actions &actions)
{
    MainWindow window(*s_appearance);
    window_test::Driver driver(&window);
    auto *value = driver.child<QLineEdit>(QStringLiteral("Text1"));
    QWidget *go = driver.child(QStringLiteral("cmdGo"));
    auto *popup = driver.child<QLabel>(QStringLiteral("Label1"));
    QList<QRect> popupPlaces { window_test::pixels(layout::FwoPopup) };
    for (int i = 0; i < flags::FlagCount; ++i)
        popupPlaces << window_test::pixels(form::MainForm::popupPlace(i));
    const auto nonDigits = [value] {
        const QString text = value->text();
        return std::count_if(text.begin(), text.end(), [](QChar c) { return c < '0' || c > '9'; });
    };
    const auto tally = qScopeGuard([&] {
        s_messages += driver.messages;
        delete window_test::aboutWindow();
    });
    bool boxChanged = false;
    for (QAbstractButton *box : window.findChildren<QCheckBox *>())
        QObject::connect(box, &QAbstractButton::toggled, [&boxChanged] { boxChanged = true; });

    for (std::size_t i = 0; i < actions.size(); ++i) {
        // A window manager activates the window again after a message box or a menu.
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return Failure { i, QStringLiteral("the window is not active") };
        const behaviour::Action &a = actions[i];
        const auto nonDigitsBefore = nonDigits();
        const QString before = value->text(), focus = window.focusWidget()->objectName();
        const bool goBefore = go->isEnabled(),
                   clicked = a.verb == "click" || a.verb == "doubleclick";
        const bool goPressed = goBefore
            && ((clicked && a.text == "cmdGo")
                || (a.verb == "key" && a.text == "Space" && focus == "cmdGo"));
        const bool reset = clicked && a.text == "Text1";
        const bool reachesBox = a.verb == "paste" || a.verb == "insert"
            || ((a.verb == "type" || a.verb == "key") && focus == "Text1");
        boxChanged = false;
        driver.play(a);
        s_boxChanges += boxChanged;
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close(); // as Esc would: the value box's context menu

        const auto fail = [&](const QString &reason) { return Failure { i, reason }; };
        if (QWidget *modal = QApplication::activeModalWidget())
            return fail("a modal window is left open: " + modal->windowTitle());
        if (window_test::aboutWindows(true).size() > 1)
            return fail("two About windows are open");
        if (a.verb != "paste" && nonDigits() > nonDigitsBefore)
            return fail("a character other than a digit came in");
        if (goPressed ? go->isEnabled() : goBefore && !go->isEnabled())
            return fail(goPressed ? "GO stays on after GO" : "GO went off without GO");
        if (!go->isEnabled() && (reset || (value->text() != before && !boxChanged && !goPressed)))
            return fail("GO is off after an edit or a click on the value box");
        if (!goBefore && go->isEnabled() && !reset && !reachesBox)
            return fail("GO came on without an edit");
        unsigned total = 0;
        for (int k : driver.ticked())
            total |= 1u << k;
        const QString sum = QString::number(total);
        if (boxChanged && (value->text() != sum || QGuiApplication::clipboard()->text() != sum))
            return fail(QStringLiteral("value box \"%1\", clipboard \"%2\", boxes add up to %3")
                            .arg(value->text(), QGuiApplication::clipboard()->text(), sum));
        if (popup->isVisible() && !popupPlaces.contains(popup->geometry()))
            return fail(
                QStringLiteral("an explanation stands at %1, %2").arg(popup->x()).arg(popup->y()));
    }
    return std::nullopt;
}

quint32 envNumber(const char *name, quint32 fallback)
{
    bool ok = false;
    const quint32 n = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? n : fallback;
}

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        window_test::quietPlatformChatter();
        s_appearance = std::make_unique<Appearance>();
    }
    void randomActionsKeepTheInvariants();
};

void TestMonkey::randomActionsKeepTheInvariants()
{
    const quint32 seed = envNumber("ORVAN_MONKEY_SEED", 20041207);
    const int count = int(envNumber("ORVAN_MONKEY_ACTIONS", 10000));
    std::mt19937 rng(seed);
    Actions actions;
    for (int i = 0; i < count; ++i)
        actions.push_back(randomAction(rng));

    const std::optional<Failure> failure = run(actions);
    qInfo("seed %u, %d actions: %d changed boxes, %d invalid-value messages", seed, count,
        s_boxChanges, s_messages);
    if (!failure)
        return;
    // Drops ever smaller chunks of the actions while the run still fails.
    actions.resize(failure->index + 1);
    for (std::size_t chunk = actions.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t at = 0; at + chunk <= actions.size();) {
            Actions shorter = actions;
            shorter.erase(shorter.begin() + long(at), shorter.begin() + long(at + chunk));
            if (run(shorter))
                actions = shorter;
            else
                at += chunk;
        }
    }
    QFAIL(
        qPrintable(QStringLiteral("seed %1, action %2: %3\nshortest failing run, ending in %4:\n%5")
                       .arg(seed)
                       .arg(failure->index)
                       .arg(failure->reason, run(actions)->reason, describe(actions))));
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
