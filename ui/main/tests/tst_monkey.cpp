// A seeded monkey: thousands of random user actions on the main window, with the program's
// invariants checked after every one. On a failure it prints the seed and a shortened list
// of actions that still fails, so the fault can be replayed.
//
// ORVAN_MONKEY_SEED and ORVAN_MONKEY_ACTIONS override the seed and the number of actions.

#include "flags/flag_model.h"
#include "form/main_form.h"
#include "form/main_form_layout.h"
#include "ui/main/appearance.h"
#include "ui/main/main_window.h"
#include "ui/tests/window_test.h"

#include <QtTest>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <iterator>
#include <memory>
#include <optional>
#include <random>

namespace {

// Settled once, before the first window.
std::unique_ptr<Appearance> s_appearance;

enum class Act {
    Click,    // left click at (x, y) of the client area, wherever it lands; `code` 1: double
    Type,     // one key press carrying the character `code`
    Digits,   // `code` digit keys in a row, the digits drawn from `x`
    Shortcut, // one of the editing shortcuts, by `code`
    Paste,    // put text number `code` on the clipboard, then the context menu's Paste
    Fwo,      // Help > What is [FWO]?
    About,    // Help > About
    AboutKey, // a key to the About window: Enter, Esc, or its close button
};

struct Action
{
    Act act;
    int code = 0;
    int x = 0, y = 0;
};

const char *const PastedTexts[] = { "12", "1040", "abc", "", "  7", "-3", "1.5e3", "0012",
    "1048576", "99999999999999999999999999999", "\xc3\xa9" };
constexpr int PastedCount = int(std::size(PastedTexts));

// The editing shortcuts, then the X11 twins of paste, copy and cut, which carry no text.
const QKeySequence::StandardKey Shortcuts[] = { QKeySequence::Paste, QKeySequence::Copy,
    QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll };
const QKeyCombination Twins[]
    = { Qt::SHIFT | Qt::Key_Insert, Qt::CTRL | Qt::Key_Insert, Qt::SHIFT | Qt::Key_Delete };
constexpr int ShortcutCount = int(std::size(Shortcuts) + std::size(Twins));

// Shortcut number `code`, the standard ones in this platform's keys.
QKeyCombination shortcut(int code)
{
    const int twin = code - int(std::size(Shortcuts));
    return twin < 0 ? QKeySequence(Shortcuts[code])[0] : Twins[twin];
}

// Where the popup may stand: beside any flag's description, or over the instructions.
QList<QRect> validPopupGeometries()
{
    QList<QRect> rects;
    for (int i = 0; i < flags::FlagCount; ++i)
        rects << window_test::pixels(form::MainForm::popupPlace(i));
    rects << window_test::pixels(layout::FwoPopup);
    return rects;
}

QString digitRun(const Action &a)
{
    return QString::number(a.x).repeated(a.code / 10 + 1).left(a.code);
}

// One line of a failing run, enough to replay it.
QString describe(const Action &a)
{
    const char *const names[]
        = { "click", "type", "digits", "shortcut", "paste", "FWO", "About", "About key" };
    return QStringLiteral("%1 %2 (%3,%4)").arg(names[int(a.act)]).arg(a.code).arg(a.x).arg(a.y);
}

Action randomAction(std::mt19937 &rng)
{
    auto pick = [&rng](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    Action a { Act::Click };
    // Clicks anywhere, and on the designed places of the value box, GO, the flag boxes and the
    // descriptions (beneath a popup that covers them, the popup takes the click).
    const int r = pick(100);
    if (r < 14) {
        a = { Act::Click, pick(4) == 0, pick(500), pick(442) };
    } else if (r < 22) {
        a = { Act::Click, 0, 128 + pick(137), 72 + pick(23) };
    } else if (r < 32) {
        a = { Act::Digits, 1 + pick(pick(3) == 0 ? 40 : 8), pick(1 << 30) };
    } else if (r < 46) {
        // Mostly digits, then printable ASCII, control characters and some non-ASCII.
        const int k = pick(10);
        const int code = k < 5 ? '0' + pick(10)
            : k < 7            ? 32 + pick(95)
            : k < 9            ? pick(32)
                               : 0xa0 + pick(0x3000);
        a = { Act::Type, code };
    } else if (r < 52) {
        a = { Act::Shortcut, pick(ShortcutCount) };
    } else if (r < 56) {
        a = { Act::Paste, pick(PastedCount) };
    } else if (r < 66) {
        a = { Act::Click, 0, 288, 84 };
    } else if (r < 82) {
        a = { Act::Click, 0, 30, 118 + 16 * pick(flags::FlagCount) };
    } else if (r < 92) {
        a = { Act::Click, 0, 101, 118 + 16 * pick(flags::FlagCount) };
    } else if (r < 94) {
        a = { Act::Fwo };
    } else if (r < 97) {
        a = { Act::About };
    } else {
        a = { Act::AboutKey, pick(3) };
    }
    return a;
}

// The key that produces a character: the named keys for the control characters that have
// one (so Tab moves the focus), else the key of the character itself.
int keyOf(int code)
{
    const std::pair<int, Qt::Key> named[] = { { '\b', Qt::Key_Backspace }, { '\t', Qt::Key_Tab },
        { '\r', Qt::Key_Return }, { 27, Qt::Key_Escape }, { 127, Qt::Key_Delete } };
    for (const auto &[character, key] : named)
        if (character == code)
            return key;
    return code < 32 ? Qt::Key_unknown : int(QChar::toUpper(char32_t(code)));
}

// What the actions did, so a run that exercised nothing shows.
int s_boxChanges = 0, s_messages = 0;

// Presses OK on the invalid-value message if one is open; armed before every GO.
void closeMessageBoxSoon()
{
    QTimer::singleShot(0, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ++s_messages;
            box->button(QMessageBox::Ok)->click();
        }
    });
}

// One run of actions on a fresh window. Returns the index of the first action after which
// an invariant failed, with the reason, or -1.
class Session
{
public:
    Session()
        : m_window(std::make_unique<MainWindow>(*s_appearance))
        , m_value(child<QLineEdit>("Text1"))
        , m_go(child<QPushButton>("cmdGo"))
        , m_popup(child<QLabel>("Label1"))
    {
        closeAbout();
        QGuiApplication::clipboard()->setText(QStringLiteral("monkey"));
        m_window->show();
        m_window->activateWindow();
        for (int i = 0; i < flags::FlagCount; ++i) {
            m_boxes[i] = child<QCheckBox>(QStringLiteral("Check1_%1").arg(i));
            QObject::connect(m_boxes[i], &QCheckBox::toggled, [this] { m_boxChanged = true; });
        }
    }

    ~Session() { closeAbout(); }

    std::optional<QString> perform(const Action &a)
    {
        m_boxChanged = false;
        apply(a);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        s_boxChanges += m_boxChanged;
        return check();
    }

private:
    static void closeAbout()
    {
        while (QWidget *about = window_test::aboutWindows(true).value(0)) {
            about->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    template <typename T> T *child(const QString &name) const
    {
        return window_test::child<T>(m_window.get(), name);
    }

    // The widget keys go to: the focused one, else the value box.
    QWidget *keyTarget() const
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w : m_value;
    }

    // A click at p in the client area, on whatever lies on top there.
    void clickAt(QPoint p, bool twice)
    {
        QWidget *parent = m_window->centralWidget();
        QWidget *target = parent->childAt(p);
        if (!target)
            target = parent;
        if (target->objectName() == QLatin1String("cmdCancel"))
            return; // Cancel ends the program; the monkey stays inside it.
        const QPoint local = target->mapFrom(parent, p);
        if (target == m_go)
            closeMessageBoxSoon();
        if (target == m_value)
            m_goEnabled = true;
        else if (target == m_go && m_go->isEnabled())
            m_goEnabled = false;
        // A double-click through the window, as a person makes it: press, release, then a
        // second press that the window turns into a double-click, and its release. (Sent to a
        // widget, QTest's double-click has no releases.) Buttons take one click here.
        if (twice && !qobject_cast<QPushButton *>(target))
            QTest::mouseDClick(
                m_window->windowHandle(), Qt::LeftButton, {}, target->mapTo(m_window.get(), local));
        else
            QTest::mouseClick(target, Qt::LeftButton, {}, local);
    }

    // Typing or deleting in the value box turns GO back on: a digit typed there always edits,
    // anything else edits when the text changes.
    void apply(const Action &a)
    {
        const QString before = m_value->text();
        const bool intoValue = keyTarget() == m_value;
        applyAction(a);
        const bool digit
            = a.act == Act::Digits || (a.act == Act::Type && a.code >= '0' && a.code <= '9');
        // The context menu offers Paste only while the clipboard holds text.
        const bool pasted = a.act == Act::Paste && PastedTexts[a.code][0] != '\0';
        if ((intoValue && (digit || (a.act == Act::Shortcut && m_value->text() != before)))
            || pasted)
            m_goEnabled = true;
    }

    void applyAction(const Action &a)
    {
        switch (a.act) {
        case Act::Click:
            clickAt(QPoint(a.x, a.y), a.code == 1);
            break;
        case Act::Type: {
            const char32_t ucs4 = char32_t(a.code);
            const QString text = QString::fromUcs4(&ucs4, 1);
            QWidget *target = keyTarget();
            if (a.code == ' ') {
                // Space presses the focused button: never Cancel, and GO as a click would.
                if (target->objectName() == QLatin1String("cmdCancel"))
                    break;
                if (target == m_go) {
                    closeMessageBoxSoon();
                    m_goEnabled = false;
                }
            }
            QKeyEvent press(QEvent::KeyPress, keyOf(a.code), Qt::NoModifier, text);
            QKeyEvent release(QEvent::KeyRelease, keyOf(a.code), Qt::NoModifier, text);
            QApplication::sendEvent(target, &press);
            QApplication::sendEvent(target, &release);
            break;
        }
        case Act::Digits:
            QTest::keyClicks(keyTarget(), digitRun(a));
            break;
        case Act::Shortcut:
            QTest::keyClick(
                keyTarget(), shortcut(a.code).key(), shortcut(a.code).keyboardModifiers());
            break;
        case Act::Paste: {
            QGuiApplication::clipboard()->setText(QString::fromUtf8(PastedTexts[a.code]));
            std::unique_ptr<QMenu> menu(m_value->createStandardContextMenu());
            for (QAction *item : menu->actions())
                if (item->text().startsWith(QLatin1String("&Paste")) && item->isEnabled())
                    item->trigger();
            break;
        }
        case Act::Fwo:
            child<QAction>("mnuFWO")->trigger();
            break;
        case Act::About:
            child<QAction>("mnuHelpAbout")->trigger();
            break;
        case Act::AboutKey:
            if (QWidget *about = window_test::aboutWindows(true).value(0)) {
                if (a.code == 0)
                    QTest::keyClick(about, Qt::Key_Return);
                else if (a.code == 1)
                    QTest::keyClick(about, Qt::Key_Escape);
                else
                    about->close();
            }
            break;
        }
    }

    std::optional<QString> check() const
    {
        if (QWidget *modal = QApplication::activeModalWidget())
            return QStringLiteral("a modal window is left open: %1").arg(modal->windowTitle());
        if (const auto open = window_test::aboutWindows(true).size(); open > 1)
            return QStringLiteral("%1 About windows are open").arg(open);
        if (m_go->isEnabled() != m_goEnabled)
            return QStringLiteral("GO is %1").arg(m_go->isEnabled() ? "enabled" : "disabled");

        if (m_boxChanged) {
            // Box i stands for bit i.
            unsigned sum = 0;
            for (int i = 0; i < flags::FlagCount; ++i)
                sum |= unsigned(m_boxes[i]->isChecked()) << i;
            const QString total = QString::number(sum);
            if (m_value->text() != total)
                return QStringLiteral("value box shows \"%1\", boxes add up to %2")
                    .arg(m_value->text(), total);
            const QString clip = QGuiApplication::clipboard()->text();
            if (clip != total)
                return QStringLiteral("clipboard holds \"%1\", boxes add up to %2")
                    .arg(clip, total);
        }

        if (m_popup->isVisible() && !validPopupGeometries().contains(m_popup->geometry())) {
            QString where;
            QDebug(&where) << m_popup->geometry();
            return QStringLiteral("popup stands at ") + where;
        }
        return std::nullopt;
    }

    std::unique_ptr<MainWindow> m_window;
    QLineEdit *m_value = nullptr;
    QPushButton *m_go = nullptr;
    QLabel *m_popup = nullptr;
    std::array<QCheckBox *, flags::FlagCount> m_boxes {};
    bool m_goEnabled = true;
    bool m_boxChanged = false;
};

struct Failure
{
    int index;
    QString reason;
};

std::optional<Failure> run(const QList<Action> &actions)
{
    Session session;
    for (int i = 0; i < actions.size(); ++i)
        if (auto reason = session.perform(actions[i]))
            return Failure { i, *reason };
    return std::nullopt;
}

// Delta reduction: drop ever smaller chunks of actions while the run still fails.
QList<Action> shorten(QList<Action> actions)
{
    for (int chunk = int(actions.size()) / 2; chunk >= 1; chunk /= 2) {
        for (int start = 0; start + chunk <= actions.size();) {
            QList<Action> candidate = actions;
            candidate.remove(start, chunk);
            if (run(candidate))
                actions = candidate;
            else
                start += chunk;
        }
    }
    return actions;
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
        // The offscreen platform warns on every raise() and size hint; the monkey raises
        // thousands.
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
    QList<Action> actions;
    for (int i = 0; i < count; ++i)
        actions << randomAction(rng);

    const std::optional<Failure> failure = run(actions);
    qInfo("seed %u, %d actions: %d changed boxes, %d invalid-value messages", seed, count,
        s_boxChanges, s_messages);
    if (failure) {
        const QList<Action> shortest = shorten(actions.mid(0, failure->index + 1));
        const auto last = run(shortest);
        QString text = QStringLiteral("seed %1, action %2: %3\nshortest failing run, ending in %4:")
                           .arg(seed)
                           .arg(failure->index)
                           .arg(failure->reason, last ? last->reason : QStringLiteral("?"));
        for (const Action &a : shortest)
            text += QStringLiteral("\n  ") + describe(a);
        QFAIL(qPrintable(text));
    }
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
