#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One console command started as a child process with its standard input, output and error on
// pipes that only this object holds. Used from one thread. Every descriptor is closed exactly
// once, and the child is always reaped: by tryReap(), kill() or, at the latest, the destructor
// (which kills a child still running).
class ChildProcess {
  public:
    enum class Stream { Output, Error };
    enum class ReadStatus { Data, Empty, Closed };

    ChildProcess();
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the program named by the first word of `commandLine` (looked up on PATH unless it
    // holds a "/"), handing it the other words, in `workingDirectory` (the current folder when
    // empty), with no command interpreter, in a process group of its own, with this process's
    // environment changed by `environmentChanges` ("NAME=value" sets, "NAME" removes). With
    // `mergeErrors` its standard error goes into the output pipe. Returns 0, or the system's error
    // code of the step that failed (ENOENT for a program or folder that does not exist); after a
    // failure no descriptor is open and no child is left. Call once per object.
    // The whole group ends when the thread that started it ends (so the process, even killed
    // by SIGKILL): start commands from a thread that lives as long as the process.
    int32_t start(const std::string& commandLine, const std::string& workingDirectory,
                  bool mergeErrors, const std::vector<std::string>& environmentChanges = {});

    // Waits at most `timeoutMs` for an open output stream to hold data or to close, meanwhile
    // writing queued input as the pipe takes it. Returns false when the time ran out.
    bool wait(int timeoutMs);

    // Reads what one read call gives from the stream into `piece` (replacing its content)
    // without blocking. Closed: the stream has ended (now or before) and its descriptor is closed.
    ReadStatus read(Stream stream, std::string& piece);

    // Queues bytes for the child's standard input and writes what the pipe takes at once; the
    // rest is written during later waits, so a child that does not read never blocks the caller.
    // Returns the number of bytes taken, 0 when the input pipe is gone (child ended or killed).
    // A child that has closed its input never raises SIGPIPE in this process.
    size_t writeInput(std::string_view bytes);

    // Without blocking: true once the child has ended and has been reaped; `exitCode` receives
    // its exit status, or 128 plus the signal number when a signal ended it.
    bool tryReap(int32_t& exitCode);

    // Ends the child's whole process group at once, reaps the child, closes every descriptor
    // and returns the exit code as tryReap() gives it. Does nothing but return the known code
    // when the child was already reaped.
    int32_t kill();

    // Closes every descriptor still open. The child must have been reaped.
    void close();

    // True from a successful start until the child is reaped.
    bool running() const;

  private:
    struct State;  // the platform's: the process and the parent's ends of its pipes

    // Writes queued input as the pipe takes it; drops the queue once the input pipe is gone.
    void flushInput();
    bool inputQueued() const { return queuedOffset_ < queuedInput_.size(); }
    // Platform parts. writeSome writes from `bytes` what the input pipe takes at once and
    // returns how many it took (0 when the pipe is full), or nothing when the child has closed
    // its input (the pipe is then closed too). closePipes is close() without the queue.
    std::optional<size_t> writeSome(std::string_view bytes);
    bool inputOpen() const;
    void closePipes();

    std::unique_ptr<State> state_;
    std::string queuedInput_;  // input the pipe has not taken yet, from queuedOffset_ on
    size_t queuedOffset_ = 0;
};
