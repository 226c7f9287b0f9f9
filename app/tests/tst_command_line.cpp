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
    void style_data();
    void style();
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

    const QString none;
    QTest::newRow("no arguments run") << QStringList {} << Action::Run << none << none;
    QTest::newRow("-v") << QStringList { "-v" } << Action::Version << none << none;
    QTest::newRow("help wins over Qt's options")
        << QStringList { "-platform", "xcb", "--help" } << Action::Help << "xcb" << none;
    QTest::newRow("letters after one dash are no bundle, left for Qt")
        << QStringList { "-hv" } << Action::Run << none << none;
    QTest::newRow("-platform xcb")
        << QStringList { "-platform", "xcb" } << Action::Run << "xcb" << none;
    QTest::newRow("--platform wayland, -platformtheme is another option")
        << QStringList { "--platform", "wayland", "-platformtheme", "gtk3" } << Action::Run
        << "wayland" << none;
    QTest::newRow("-display :5") << QStringList { "-display", ":5" } << Action::Run << none << ":5";
    QTest::newRow("the last -display counts")
        << QStringList { "-display", ":5", "-display=:7" } << Action::Run << none << ":7";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(QString, platform);
    QFETCH(QString, display);

    const CommandLine result
        = CommandLine::parse(QStringList { QStringLiteral("/usr/bin/Orvanunk4ver22") } + arguments);
    QCOMPARE(result.action, action);
    QCOMPARE(result.platform, platform);
    QCOMPARE(result.display, display);
    switch (action) {
    case Action::Run:
    case Action::Error:
        QVERIFY(result.text.isEmpty());
        break;
    case Action::Help:
        QVERIFY(result.text.startsWith(QStringLiteral("Usage: Orvanunk4ver22 [options]\n")));
        QVERIFY(result.text.contains(QStringLiteral("--version")));
        break;
    case Action::Version:
        QCOMPARE(result.text, QStringLiteral("Orvanunk4ver22 2.2\n"));
        break;
    }
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

void TestCommandLine::style_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("style");
    QTest::newRow("none") << QStringList {} << QString();
    QTest::newRow("-style Fusion") << QStringList { "-style", "Fusion" } << "Fusion";
    QTest::newRow("-style=fusion") << QStringList { "-style=fusion" } << "fusion";
    QTest::newRow("-stylesheet is another option")
        << QStringList { "-stylesheet", "a.qss", "-style", "Fusion" } << "Fusion";
    QTest::newRow("--style windows among others")
        << QStringList { "-platform", "xcb", "--style", "windows", "-reverse" } << "windows";
}

// The style asked for is kept for the program, which reads it before QApplication takes it out.
void TestCommandLine::style()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, style);
    const CommandLine result
        = CommandLine::parse(QStringList { QStringLiteral("Orvanunk4ver22") } + arguments);
    QCOMPARE(result.action, Action::Run);
    QCOMPARE(result.style, style);
}

void TestCommandLine::platforms_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<QStringList>("platforms");

    const QStringList x11 { "xcb" }, both { "wayland", "xcb" };
    QTest::newRow("default outside Wayland is X11") << "" << QByteArray() << false << x11;
    QTest::newRow("default in a Wayland session tries Wayland first")
        << "" << QByteArray() << true << both;
    QTest::newRow("QT_QPA_PLATFORM=xcb") << "" << QByteArray("xcb") << false << x11;
    QTest::newRow("QT_QPA_PLATFORM=xcb beats the Wayland session")
        << "" << QByteArray("xcb") << true << x11;
    QTest::newRow("QT_QPA_PLATFORM with plug-in options")
        << "" << QByteArray("xcb:nograb") << false << x11;
    QTest::newRow("QT_QPA_PLATFORM=offscreen")
        << "" << QByteArray("offscreen") << false << QStringList { "offscreen" };
    QTest::newRow("QT_QPA_PLATFORM=wayland")
        << "" << QByteArray("wayland") << false << QStringList { "wayland" };
    QTest::newRow("a list with a fallback") << "" << QByteArray("wayland;xcb") << false << both;
    QTest::newRow("-platform xcb beats QT_QPA_PLATFORM")
        << "xcb" << QByteArray("offscreen") << true << x11;
    QTest::newRow("-platform offscreen beats QT_QPA_PLATFORM")
        << "offscreen" << QByteArray("xcb") << false << QStringList { "offscreen" };
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
