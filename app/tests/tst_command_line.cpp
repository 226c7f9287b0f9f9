#include "app/command_line.h"
#include "app/display_check.h"

#include <QtTest>

// The values of Qt's options that the parser notes before Qt reads them, and the choice of
// platform, case by case. What the built program answers, with its exit status: --help and
// --version, what Qt leaves in argv refused, and the message for a missing display, is
// command_line_test.sh's.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void platforms_data();
    void platforms();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("style");
    const auto row = [](const char *name, const QStringList &arguments, const char *platform = "",
                         const char *display = "", const char *style = "") {
        QTest::newRow(name) << arguments << QString(platform) << QString(display) << QString(style);
    };
    row("no arguments", {});
    row("-platform xcb, help among Qt's options", { "-platform", "xcb", "--help" }, "xcb");
    row("--platform wayland, -platformtheme is another option",
        { "--platform", "wayland", "-platformtheme", "gtk3" }, "wayland");
    row("-display :5", { "-display", ":5" }, "", ":5");
    row("the last -display counts", { "-display", ":5", "-display=:7" }, "", ":7");
    // The style asked for is kept for the program, which reads it before QApplication takes it
    // out.
    row("-style Fusion", { "-style", "Fusion" }, "", "", "Fusion");
    row("-style=fusion", { "-style=fusion" }, "", "", "fusion");
    row("-stylesheet is another option", { "-stylesheet", "a.qss", "-style", "Fusion" }, "", "",
        "Fusion");
    row("--style windows among others", { "-platform", "xcb", "--style", "windows", "-reverse" },
        "xcb", "", "windows");
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    const CommandLine result
        = CommandLine::parse(QStringList { QStringLiteral("/usr/bin/Orvanunk4ver22") } + arguments);
    QTEST(result.platform, "platform");
    QTEST(result.display, "display");
    QTEST(result.style, "style");
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
    QTEST(DisplayCheck::platforms(option, environment, wayland), "platforms");
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
