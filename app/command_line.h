#pragma once

// The program's command line, read before the application object exists, so that --help and
// --version answer without a display and an unknown option is refused before Qt looks for one.
// Qt's own options (-platform, -display, -style …) are known here too but only noted: they stay
// in argv for QApplication, which takes them out itself.

#include <QString>
#include <QStringList>

struct CommandLine
{
    enum class Action { Run, Help, Version, Error };

    // Reads the arguments, the program's path first as in argv.
    static CommandLine parse(const QStringList &arguments);

    Action action = Action::Run;
    // The help text, the version line or the error, each ending in a newline.
    QString text;
    // The values of Qt's -platform, -display and -style options; empty when not given.
    QString platform;
    QString display;
    QString style;
};
