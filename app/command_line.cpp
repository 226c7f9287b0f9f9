#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

const QString Program = QStringLiteral(ORVAN_PROGRAM_NAME);

// The program's own options.
struct OwnOptions
{
    OwnOptions()
    {
        // Qt's options are single words after one dash (-style, -platform): read letters after
        // one dash as one word too, never as a bundle of short options.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(QStringLiteral(
            "Shows which of the twenty unk4 wall flags of the OrvanTrk track editor make up a "
            "value,\nand builds a value from ticked flags; the total is put on the clipboard.\n"
            "Qt's standard options (-platform, -display, -style ...) are accepted as well."));
        parser.addOption(help);
        parser.addOption(version);
    }

    QCommandLineParser parser;
    const QCommandLineOption help { { QStringLiteral("h"), QStringLiteral("help") },
        QStringLiteral("Show this help and exit.") };
    const QCommandLineOption version { { QStringLiteral("v"), QStringLiteral("version") },
        QStringLiteral("Show the program's version and exit.") };
};

CommandLine error(const QString &what)
{
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.text = Program + QStringLiteral(": ") + what + QStringLiteral(" (try --help)\n");
    return result;
}

// The value of Qt's option `name` given as -name VALUE, --name VALUE or -name=VALUE, the last
// one if it is given more than once; empty if it is not given.
QString qtOptionValue(const QStringList &arguments, QLatin1String name)
{
    QString value;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QStringView word = arguments[i];
        if (word.startsWith(QLatin1String("--")))
            word = word.mid(1);
        if (!word.startsWith(QLatin1Char('-')) || !word.mid(1).startsWith(name))
            continue;
        const QStringView rest = word.mid(1 + name.size());
        if (rest.isEmpty() && i + 1 < arguments.size())
            value = arguments[++i];
        else if (rest.startsWith(QLatin1Char('=')))
            value = rest.mid(1).toString();
    }
    return value;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    // Qt's options are unknown to this parser, and their values look like arguments: neither
    // is an error yet, since Qt has not taken its own. Only a request for help or the version
    // is answered here.
    OwnOptions own;
    own.parser.parse(arguments);
    CommandLine result;
    if (own.parser.isSet(own.help)) {
        result.action = Action::Help;
        // Without an application object the parser cannot know the program's name.
        result.text = own.parser.helpText().replace(QStringLiteral("<executable_name>"), Program);
        return result;
    }
    if (own.parser.isSet(own.version)) {
        result.action = Action::Version;
        result.text
            = Program + QLatin1Char(' ') + QStringLiteral(ORVAN_VERSION) + QLatin1Char('\n');
        return result;
    }
    result.platform = qtOptionValue(arguments, QLatin1String("platform"));
    result.display = qtOptionValue(arguments, QLatin1String("display"));
    result.style = qtOptionValue(arguments, QLatin1String("style"));
    return result;
}

CommandLine CommandLine::checkRest(const QStringList &rest)
{
    OwnOptions own;
    if (!own.parser.parse(rest)) {
        QString text = own.parser.errorText();
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        return error(text);
    }
    // The options left are the program's own, answered by parse() before Qt came.
    if (!own.parser.positionalArguments().isEmpty())
        return error(QStringLiteral("unexpected argument '")
            + own.parser.positionalArguments().constFirst() + QLatin1Char('\''));
    return {};
}
