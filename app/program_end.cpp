#include "app/program_end.h"

#include "ui/main/main_window.h"

#include <QApplication>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> EndingSignalNumbers = { SIGTERM, SIGINT, SIGHUP };

// [0] is written by the handler, [1] read in the event loop.
int s_sockets[2] = { -1, -1 };
volatile sig_atomic_t s_ending = 0;

extern "C" void onEndingSignal(int number)
{
    if (s_ending) {
        // The program is already ending and a second request came: do not wait any longer.
        _exit(128 + number);
    }
    s_ending = 1;
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    // A full socket still holds an earlier byte, which is enough.
    [[maybe_unused]] const ssize_t written = ::write(s_sockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

ProgramEnd::ProgramEnd(MainWindow &window, QObject *parent)
    : QObject(parent)
{
    connect(&window, &MainWindow::endRequested, this, &ProgramEnd::endProgram);

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, s_sockets) != 0) {
        qWarning("cannot create the socket pair for ending signals; they end the program at once");
        return;
    }
    m_notifier = new QSocketNotifier(s_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ProgramEnd::signalArrived);

    struct sigaction action = {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : EndingSignalNumbers) {
        // A program started under nohup keeps ignoring hang-ups, as the user asked.
        struct sigaction previous = {};
        if (number == SIGHUP && ::sigaction(number, nullptr, &previous) == 0
            && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(number, &action, nullptr);
    }
}

ProgramEnd::~ProgramEnd()
{
    // The handlers stay: a signal during the rest of the exit (the clipboard hand-over) finds
    // s_ending set and ends the program at once, without touching the sockets.
    s_ending = 1;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(s_sockets[1]);
}

void ProgramEnd::signalArrived()
{
    char bytes[16];
    while (::read(s_sockets[1], bytes, sizeof bytes) > 0) { }
    endProgram();
}

void ProgramEnd::endProgram()
{
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}
