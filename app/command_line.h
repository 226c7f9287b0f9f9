#pragma once

// The program's command line, read in two steps around the application object. Before it,
// parse() answers --help and --version, so that they need no display, and notes the values of
// the three Qt options the program needs before Qt reads them. QApplication then takes out of
// argv every option that this version of Qt and its platform plug-in know; checkRest() refuses
// whatever Qt left, so the program keeps no list of Qt's options of its own.

#include <QString>
#include <QStringList>

struct CommandLine
{
    enum class Action { Run, Help, Version, Error };

    // Reads the arguments as main() gets them, the program's path first, before Qt has: Help,
    // Version or Run.
    static CommandLine parse(const QStringList &arguments);
    // Reads what QApplication left of the arguments: anything but the program's path is an
    // Error; Run otherwise.
    static CommandLine checkRest(const QStringList &rest);

    Action action = Action::Run;
    // The help text, the version line or the error, each ending in a newline.
    QString text;
    // The values of Qt's -platform and -display options, which the display check needs, and of
    // -style, which QApplication reads and takes out without telling; empty when not given.
    QString platform;
    QString display;
    QString style;
};
