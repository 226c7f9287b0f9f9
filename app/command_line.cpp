#include "app/command_line.h"

#include <QCommandLineParser>

namespace {

const QString Program = QStringLiteral(ORVAN_PROGRAM_NAME);

// The program's own options, --help and --version.
void addOwnOptions(QCommandLineParser &parser)
{
    // Qt's options are single words after one dash (-style, -platform): read letters after one
    // dash as one word too, never as a bundle of short options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Shows which of the twenty unk4 wall flags of the OrvanTrk track editor make up a value,\n"
        "and builds a value from ticked flags; the total is put on the clipboard.\n"
        "Qt's standard options (-platform, -display, -style ...) are accepted as well."));
    parser.addOption({ { QStringLiteral("h"), QStringLiteral("help") },
        QStringLiteral("Show this help and exit.") });
    parser.addOption({ { QStringLiteral("v"), QStringLiteral("version") },
        QStringLiteral("Show the program's version and exit.") });
}

// The value of Qt's option `name` given as -name VALUE, --name VALUE or -name=VALUE, the last
// one if it is given more than once; empty if it is not given.
QString qtOptionValue(const QStringList &arguments, QLatin1String name)
{
    QString value;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QStringView word = arguments[i];
        word = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
        if (!arguments[i].startsWith(QLatin1Char('-')) || !word.startsWith(name))
            continue;
        word = word.mid(name.size());
        if (word.isEmpty() && i + 1 < arguments.size())
            value = arguments[++i];
        else if (word.startsWith(QLatin1Char('=')))
            value = word.mid(1).toString();
    }
    return value;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    // Qt's options are unknown to this parser, and their values look like arguments: neither
    // is an error yet, since Qt has not taken its own. Only help and the version are answered.
    QCommandLineParser parser;
    addOwnOptions(parser);
    parser.parse(arguments);
    CommandLine result;
    if (parser.isSet(QStringLiteral("help"))) {
        result.action = Action::Help;
        // Without an application object the parser cannot know the program's name.
        result.text = parser.helpText().replace(QStringLiteral("<executable_name>"), Program);
    } else if (parser.isSet(QStringLiteral("version"))) {
        result.action = Action::Version;
        result.text
            = Program + QLatin1Char(' ') + QStringLiteral(ORVAN_VERSION) + QLatin1Char('\n');
    }
    result.platform = qtOptionValue(arguments, QLatin1String("platform"));
    result.display = qtOptionValue(arguments, QLatin1String("display"));
    result.style = qtOptionValue(arguments, QLatin1String("style"));
    return result;
}

CommandLine CommandLine::checkRest(const QStringList &rest)
{
    // The options that are left can only be the program's own, answered by parse() already.
    QCommandLineParser parser;
    addOwnOptions(parser);
    QString problem;
    if (!parser.parse(rest))
        problem = parser.errorText().chopped(1); // without its full stop
    else if (!parser.positionalArguments().isEmpty())
        problem = QStringLiteral("unexpected argument '")
            + parser.positionalArguments().constFirst() + QLatin1Char('\'');
    CommandLine result;
    if (!problem.isEmpty()) {
        result.action = Action::Error;
        result.text = Program + QStringLiteral(": ") + problem + QStringLiteral(" (try --help)\n");
    }
    return result;
}
