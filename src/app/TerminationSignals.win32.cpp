#include <QApplication>

#include "app/TerminationSignals.h"

// Windows ends a session by sending WM_ENDSESSION (logoff and shutdown alike), which Qt turns
// into aboutToQuit, and kills the program once the message is handled: the windows close there,
// while the program still runs.
TerminationSignals::TerminationSignals() {
    connect(qApp, &QCoreApplication::aboutToQuit, this, [] { QApplication::closeAllWindows(); });
}

TerminationSignals::~TerminationSignals() = default;
