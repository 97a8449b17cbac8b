#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "console/ChunkedText.h"

class ChildProcess;

// The owner of a DOSClass: receives its events on the thread that called ExecuteCommand,
// always from inside ExecuteCommand. Every default does nothing.
class DOSClassEvents {
  public:
    virtual ~DOSClassEvents() = default;
    // A piece of standard output (or of both streams when merged), already added to Outputs().
    // Changing the text changes nothing else.
    virtual void ReceiveOutputs([[maybe_unused]] std::string& strCommandOutputs) {}
    // A piece of standard error (separate streams only), already added to Errors().
    virtual void ReceiveErrors([[maybe_unused]] std::string& strCommandErrors) {}
    // A polling pass waited without any output arriving. The texts are the whole output so far.
    virtual void WaitForInput([[maybe_unused]] const std::string& strOutputs,
                              [[maybe_unused]] const std::string& strErrors) {}
    // Let the user interface process its pending events. Called after each polling pass in
    // which WaitForEvents did not already let it: at least every 20 ms while a command runs,
    // plus the time the owner's own handlers take.
    virtual void DoEvents() {}
    // While no output waits: let the user interface wait for its own events and handle them,
    // returning after the first ones or after at most `timeoutMs`. Returns false when the owner
    // has no such loop; the runner then waits on the command itself. So a click is answered at
    // once during a run, and output is read at most `timeoutMs` late.
    virtual bool WaitForEvents([[maybe_unused]] int timeoutMs) { return false; }
};

// Runs one console command as a hidden child process with piped standard input, output and
// error, and hands its output to the owner as events while it runs. The command line is
// CommandName, one space and CommandArgument; blanks separate its words and double quotes group
// them; the first word names the program (looked up on PATH), started without a shell, in a
// process group of its own, in CommandWorkingDirectory (the current folder when empty). Text is
// UTF-8; the command line and input cross the process boundary in the locale's character set,
// output comes back from it. The working directory goes to the system as given: the bytes the
// file system holds, which the locale may not be able to write.
//
// Single thread: every call, and every event, happens on the thread that runs the user
// interface. Instances are made by create() only, because ExecuteCommand keeps the instance
// alive through shared_from_this() while the owner may let go of it from an event.
class DOSClass : public std::enable_shared_from_this<DOSClass> {
  public:
    // ExecuteCommand's results. Any other result is the system's error number of the step that
    // failed (as SystemError holds it: ENOENT for a program or working directory that does not
    // exist), never one of these three.
    //
    // The command ran and its output closed, whatever its exit code (see ExitCode).
    static constexpr int32_t kResultEnded = 0;
    static constexpr int32_t kResultKilled = 1223;  // KillCommand ended the run
    // ExecuteCommand was called while a run of this instance is in progress; that run goes on
    // untouched. 170 is above every POSIX error number and is the Windows code for "busy".
    static constexpr int32_t kResultAlreadyRunning = 170;

    static std::shared_ptr<DOSClass> create();
    ~DOSClass();
    DOSClass(const DOSClass&) = delete;
    DOSClass& operator=(const DOSClass&) = delete;

    // The object that receives the events; nullptr = nobody listens. An owner that goes away
    // during a run sets nullptr first (then may KillCommand and drop its pointer).
    void setEvents(DOSClassEvents* owner);

    // Properties: setters store a copy, getters return one. A change during a run affects only
    // the next run.
    void setCommandName(std::string strDOSCommand);
    std::string CommandName() const;
    void setCommandArgument(std::string strDOSCommandArg);
    std::string CommandArgument() const;
    void setCommandWorkingDirectory(std::string strWorkingDir);
    std::string CommandWorkingDirectory() const;
    // Changes to this process's environment that the child gets: "NAME=value" sets a variable,
    // a bare "NAME" removes it.
    void setEnvironmentChanges(std::vector<std::string> changes);
    // Text written to the child's standard input right after it starts, when not empty.
    void setInputs(std::string strInputs);
    std::string Inputs() const;

    // Exit code of the last child: set when a run ends (after the child has really ended) or by
    // KillCommand. On Linux a child ended by a signal gives 128 plus the signal number; on
    // Windows the code is the child's own. After KillCommand it is never 0: 137 (SIGKILL) on
    // Linux, 1 on Windows.
    int32_t ExitCode() const;
    // All output of the current or last run; kept until the next run starts successfully.
    const std::string& Outputs() const;
    const std::string& Errors() const;  // stays empty when the streams are merged

    // Writes the text to the running child's standard input exactly as given (no line end is
    // added; the input stays open). Text the pipe cannot take at once is written while the run
    // goes on, so this never blocks. Returns the number of bytes taken, 0 when no child runs.
    int32_t PutInputs(const std::string& strInputs);

    // Runs the command and returns once its standard output has closed and the child has ended
    // and been reaped, delivering output through the events and calling DoEvents between polling
    // passes meanwhile. Results: kResultEnded, kResultKilled, kResultAlreadyRunning, or an error
    // number; on an error nothing is left open, no event was raised and Outputs/Errors are
    // unchanged.
    // With separate streams, error text the child wrote before it ended is delivered too.
    int32_t ExecuteCommand(bool bMergeStdoutStderr = false);

    // Ends the running command's whole process group, reaps it and closes every pipe; the
    // running ExecuteCommand then returns kResultKilled without raising another event. Does
    // nothing when no command runs.
    void KillCommand();

    // True while a command runs (from its start until it ends or is killed).
    bool isRunning() const;

  private:
    DOSClass();
    int32_t pollUntilEnd(bool merged);

    std::string commandName_;
    std::string commandArgument_;
    std::string commandWorkingDirectory_;
    std::vector<std::string> environmentChanges_;
    std::string inputs_;
    ChunkedText outputs_;
    ChunkedText errors_;
    int32_t exitCode_ = 0;
    bool bKilled_ = false;
    DOSClassEvents* events_ = nullptr;
    std::unique_ptr<ChildProcess> child_;  // set for the whole of a run
};
