#pragma once

// SIGTERM, SIGINT and SIGHUP end the program as File > Exit does, through Clipboard::endProgram()
// (ui/main/clipboard.h), so that the last total is handed to the desktop's clipboard manager.
// The handler itself only writes a byte to a socket pair (all a signal handler may safely do); a
// QSocketNotifier brings it into the event loop. A second signal while the program ends, for
// instance while the clipboard manager does not answer, ends it at once.

#include <QObject>

class QSocketNotifier;

class EndingSignals : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers; one object per program.
    explicit EndingSignals(QObject *parent = nullptr);
    ~EndingSignals() override;

private:
    void signalArrived();

    QSocketNotifier *m_notifier = nullptr;
};
