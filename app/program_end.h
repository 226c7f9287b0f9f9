#pragma once

// How the program ends. Cancel and File > Exit (the main window's endRequested()) and SIGTERM,
// SIGINT and SIGHUP end it alike: every window closes (the About window destroys itself on
// close) and the event loop ends, so that main() returns normally and QClipboard's destructor
// hands the last total to the desktop's clipboard manager.
//
// A signal handler itself only writes a byte to a socket pair (all a signal handler may safely
// do); a QSocketNotifier brings it into the event loop. A second signal while the program ends,
// for instance while the clipboard manager does not answer, ends it at once.

#include <QObject>

class MainWindow;
class QSocketNotifier;

class ProgramEnd : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers and takes the window's requests; one object per program.
    explicit ProgramEnd(MainWindow &window, QObject *parent = nullptr);
    ~ProgramEnd() override;

    static void endProgram();

private:
    void signalArrived();

    QSocketNotifier *m_notifier = nullptr;
};
