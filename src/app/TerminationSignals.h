#pragma once

#include <QObject>

class QSocketNotifier;

// A session that ends (a pupil logging out during a download: SIGTERM, SIGHUP or SIGINT on Linux,
// the end of the session or a shutdown on Windows) closes every window as the pupil would, so the
// window stops its build tool's whole process group instead of leaving it running. One instance
// at a time; on Linux the previous signal handlers come back when it goes.
class TerminationSignals : public QObject {
  public:
    // True once a session's end has begun to close the windows: nobody is left to answer a
    // question, and the working file keeps the sequence for the next start.
    static bool ending();

    TerminationSignals();
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    QSocketNotifier* notifier_ = nullptr;  // Linux: the signals' wake-up
};
