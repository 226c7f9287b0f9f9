#include "app/command_line.h"
#include "app/display_check.h"
#include "app/program_end.h"
#include "ui/main/appearance.h"
#include "ui/main/main_window.h"

#include <QApplication>

#include <cstdio>

namespace {

// Writes the text as the terminal's encoding wants it.
void print(std::FILE *stream, const QString &text)
{
    std::fprintf(stream, "%s", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line first, without an application object: --help and --version need no
    // display.
    const CommandLine commandLine = CommandLine::parse(QStringList(argv, argv + argc));
    if (commandLine.action != CommandLine::Action::Run) { // the help or the version
        print(stdout, commandLine.text);
        return 0;
    }

    const bool waylandSession
        = qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    const QString problem = DisplayCheck::problem(
        DisplayCheck::platforms(commandLine.platform, qgetenv("QT_QPA_PLATFORM"), waylandSession),
        commandLine.display);
    if (!problem.isEmpty()) {
        print(stderr, QStringLiteral(ORVAN_PROGRAM_NAME ": ") + problem + QLatin1Char('\n'));
        return 1;
    }

    QApplication app(argc, argv);
    // Qt has taken out every option it and its platform plug-in know; what is left is no option
    // of theirs, nor of this program.
    const CommandLine rest = CommandLine::checkRest(QStringList(argv, argv + argc));
    if (rest.action == CommandLine::Action::Error) {
        print(stderr, rest.text);
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Orvanunk4"));
    QApplication::setApplicationVersion(QStringLiteral(ORVAN_VERSION));
    // Ties the windows to the installed desktop entry (and its icon) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.orvanunk4.Orvanunk4"));
    // Before any window. QApplication has taken -style out of argv by now, and set nothing a
    // program can read back: the style asked for comes from the command line read above.
    const Appearance appearance(commandLine.style);
    MainWindow window(appearance);
    const ProgramEnd end(window);
    window.show();
    return app.exec();
}
