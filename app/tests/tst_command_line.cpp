#include "app/command_line.h"
#include "app/display_check.h"

#include <QtTest>

// The parser, before and after Qt has taken its options, and the choice of platform, case by
// case. What the built program answers, with its exit status, what Qt takes out of argv and the
// message for a missing display, is command_line_test.sh's.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void checkRest_data();
    void checkRest();
    void platforms_data();
    void platforms();
};

using Action = CommandLine::Action;
Q_DECLARE_METATYPE(CommandLine::Action)

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("style");
    const auto row
        = [](const char *name, const QStringList &arguments, Action action,
              const char *platform = "", const char *display = "", const char *style = "") {
              QTest::newRow(name) << arguments << action << QString(platform) << QString(display)
                                  << QString(style);
          };
    row("no arguments run", {}, Action::Run);
    row("-v", { "-v" }, Action::Version);
    row("help wins over Qt's options", { "-platform", "xcb", "--help" }, Action::Help, "xcb");
    row("letters after one dash are no bundle, left for Qt", { "-hv" }, Action::Run);
    row("-platform xcb", { "-platform", "xcb" }, Action::Run, "xcb");
    row("--platform wayland, -platformtheme is another option",
        { "--platform", "wayland", "-platformtheme", "gtk3" }, Action::Run, "wayland");
    row("-display :5", { "-display", ":5" }, Action::Run, "", ":5");
    row("the last -display counts", { "-display", ":5", "-display=:7" }, Action::Run, "", ":7");
    // The style asked for is kept for the program, which reads it before QApplication takes it
    // out.
    row("-style Fusion", { "-style", "Fusion" }, Action::Run, "", "", "Fusion");
    row("-style=fusion", { "-style=fusion" }, Action::Run, "", "", "fusion");
    row("-stylesheet is another option", { "-stylesheet", "a.qss", "-style", "Fusion" },
        Action::Run, "", "", "Fusion");
    row("--style windows among others", { "-platform", "xcb", "--style", "windows", "-reverse" },
        Action::Run, "xcb", "", "windows");
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(QString, style);

    const CommandLine result
        = CommandLine::parse(QStringList { QStringLiteral("/usr/bin/Orvanunk4ver22") } + arguments);
    QCOMPARE(result.action, action);
    QCOMPARE(result.platform, platform);
    QCOMPARE(result.display, display);
    QCOMPARE(result.style, style);
    if (action == Action::Help)
        QVERIFY(result.text.startsWith(QStringLiteral("Usage: Orvanunk4ver22 [options]\n"))
            && result.text.contains(QStringLiteral("--version")));
    else
        QCOMPARE(result.text, action == Action::Version ? "Orvanunk4ver22 2.2\n" : QString());
}

// What QApplication left in argv: the program's path alone runs, anything else is refused in
// one line naming the program.
void TestCommandLine::checkRest_data()
{
    QTest::addColumn<QStringList>("rest");
    QTest::addColumn<QString>("error");
    QTest::newRow("nothing left") << QStringList {} << QString();
    QTest::newRow("an unknown option")
        << QStringList { "--bogus" } << "Orvanunk4ver22: Unknown option 'bogus' (try --help)\n";
    QTest::newRow("letters after one dash")
        << QStringList { "-hv" } << "Orvanunk4ver22: Unknown option 'hv' (try --help)\n";
    QTest::newRow("a stray argument")
        << QStringList { "1040" } << "Orvanunk4ver22: unexpected argument '1040' (try --help)\n";
}

void TestCommandLine::checkRest()
{
    QFETCH(QStringList, rest);
    QFETCH(QString, error);
    const CommandLine result
        = CommandLine::checkRest(QStringList { QStringLiteral("Orvanunk4ver22") } + rest);
    QCOMPARE(result.action, error.isEmpty() ? Action::Run : Action::Error);
    QCOMPARE(result.text, error);
}

void TestCommandLine::platforms_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<QStringList>("platforms");
    const auto row = [](const char *name, const char *option, const char *environment, bool wayland,
                         const QStringList &platforms) {
        QTest::newRow(name) << QString(option) << QByteArray(environment) << wayland << platforms;
    };
    const QStringList x11 { "xcb" }, both { "wayland", "xcb" }, offscreen { "offscreen" };
    row("default outside Wayland is X11", "", nullptr, false, x11);
    row("default in a Wayland session tries Wayland first", "", nullptr, true, both);
    row("QT_QPA_PLATFORM=xcb", "", "xcb", false, x11);
    row("QT_QPA_PLATFORM=xcb beats the Wayland session", "", "xcb", true, x11);
    row("QT_QPA_PLATFORM with plug-in options", "", "xcb:nograb", false, x11);
    row("QT_QPA_PLATFORM=offscreen", "", "offscreen", false, offscreen);
    row("QT_QPA_PLATFORM=wayland", "", "wayland", false, { "wayland" });
    row("a list with a fallback", "", "wayland;xcb", false, both);
    row("-platform xcb beats QT_QPA_PLATFORM", "xcb", "offscreen", true, x11);
    row("-platform offscreen beats QT_QPA_PLATFORM", "offscreen", "xcb", false, offscreen);
}

void TestCommandLine::platforms()
{
    QFETCH(QString, option);
    QFETCH(QByteArray, environment);
    QFETCH(bool, wayland);
    QFETCH(QStringList, platforms);
    QCOMPARE(DisplayCheck::platforms(option, environment, wayland), platforms);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
