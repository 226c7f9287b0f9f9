#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

// The options that QApplication and its X11 plugin take out of argv (Qt 6.4). They are
// accepted here so that they are not reported as unknown; Qt reads them itself.
struct QtOption
{
    const char *name;
    bool takesValue;
};
// clang-format off
constexpr QtOption QtOptions[] = {
    // name                  takes a value
    { "platform",            true },
    { "platformpluginpath",  true },
    { "platformtheme",       true },
    { "plugin",              true },
    { "qwindowgeometry",     true },
    { "qwindowicon",         true },
    { "qwindowtitle",        true },
    { "geometry",            true },
    { "icon",                true },
    { "title",               true },
    { "display",             true },
    { "name",                true },
    { "visual",              true },
    { "session",             true },
    { "style",               true },
    { "stylesheet",          true },
    { "qmljsdebugger",       true },
    { "reverse",             false },
    { "widgetcount",         false },
    { "testability",         false },
    { "nograb",              false },
    { "dograb",              false },
};
// clang-format on

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's options are single words after one dash (-style, -platform), not bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Shows which of the twenty unk4 wall flags of the OrvanTrk track editor make up a value,\n"
        "and builds a value from ticked flags; the total is put on the clipboard.\n"
        "Qt's standard options (-platform, -display, -style ...) are accepted as well."));
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") },
        QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({ QStringLiteral("v"), QStringLiteral("version") },
        QStringLiteral("Show the program's version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    for (const QtOption &option : QtOptions) {
        QCommandLineOption qtOption(QString::fromLatin1(option.name));
        if (option.takesValue)
            qtOption.setValueName(QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }

    CommandLine result;
    const QString program = QStringLiteral(ORVAN_PROGRAM_NAME);
    if (!parser.parse(arguments)) {
        result.action = Action::Error;
        QString error = parser.errorText();
        if (error.endsWith(QLatin1Char('.')))
            error.chop(1);
        result.text = program + QStringLiteral(": ") + error + QStringLiteral(" (try --help)\n");
        return result;
    }
    if (parser.isSet(help)) {
        result.action = Action::Help;
        // Without an application object the parser cannot know the program's name.
        result.text = parser.helpText().replace(QStringLiteral("<executable_name>"), program);
        return result;
    }
    if (parser.isSet(version)) {
        result.action = Action::Version;
        result.text
            = program + QLatin1Char(' ') + QStringLiteral(ORVAN_VERSION) + QLatin1Char('\n');
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = Action::Error;
        result.text = program + QStringLiteral(": unexpected argument '")
            + parser.positionalArguments().constFirst() + QStringLiteral("' (try --help)\n");
        return result;
    }
    result.platform = parser.value(QStringLiteral("platform"));
    result.display = parser.value(QStringLiteral("display"));
    result.style = parser.value(QStringLiteral("style"));
    return result;
}
