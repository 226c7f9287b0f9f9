#include "app/command_line.h"
#include "app/display_check.h"
#include "ui/main/appearance.h"
#include "ui/main/main_window.h"

#include <QApplication>

#include <cstdio>

#ifdef Q_OS_UNIX
#include "app/ending_signals.h"
#endif

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
    // display, and a mistyped option should be reported as such, not as a missing display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = CommandLine::parse(arguments);
    switch (commandLine.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        print(stdout, commandLine.text);
        return 0;
    case CommandLine::Action::Error:
        print(stderr, commandLine.text);
        return 2;
    case CommandLine::Action::Run:
        break;
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
    QApplication::setApplicationName(QStringLiteral("Orvanunk4"));
    QApplication::setApplicationVersion(QStringLiteral(ORVAN_VERSION));
    // Ties the windows to the installed desktop entry (and its icon) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.orvanunk4.Orvanunk4"));
    // Before any window. QApplication has taken -style out of argv by now, and set nothing a
    // program can read back: the style asked for comes from the command line read above.
    const Appearance appearance(commandLine.style);
#ifdef Q_OS_UNIX
    EndingSignals endingSignals;
#endif

    MainWindow window(appearance);
    window.show();
    return app.exec();
}
