#pragma once

// POSIX only. The end of the session as a descriptor to watch. The system ends the programs of
// a session with SIGTERM or SIGHUP (a pupil logging out, a shutdown), a terminal with SIGINT
// (Ctrl+C). While a SessionEnd lives, these signals no longer end the program where it stands:
// each one makes descriptor() readable, so that the program's own loop (a QSocketNotifier, a
// poll) ends it the normal way, its windows closed, its destructors run and its files whole.
// One instance at a time; the previous handlers come back when it goes.
class SessionEnd {
  public:
    SessionEnd();
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

    // Readable from the arrival of a signal until drain(); -1 when it could not be set up (the
    // signals then act as they did before).
    int descriptor() const;

    // Takes away the arrivals so far, without blocking; whether there was any.
    bool drain();
};
