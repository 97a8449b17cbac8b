#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "firmware/CharacterBlock.h"

class DOSClass;
class SequenceModel;

// What a download tells its owner while it runs. Called on the thread that called run().
class DownloadEvents {
  public:
    virtual ~DownloadEvents() = default;
    // The line that says what the download is doing ("Compilation…", "Envoi au module…
    // écriture 40 %"); empty once it has ended.
    virtual void stageChanged([[maybe_unused]] const std::string& stage) {}
    // The output box starts again: with the generated source, then with each command's output.
    virtual void outputCleared() {}
    virtual void outputArrived([[maybe_unused]] std::string_view chunk) {}
    // The user interface's turns while a command runs; see DOSClassEvents.
    virtual void DoEvents() {}
    virtual bool WaitForEvents([[maybe_unused]] int timeoutMs) { return false; }
};

// How long a command may go on. A command that prints nothing for `silence`, or runs longer
// than its whole bound, is ended with its whole process group.
struct DownloadBounds {
    // avrdude stays silent while it waits for the bootloader: about 6.5 s per attempt, two
    // attempts on a virtual module, so up to 13 s; a compile prints its result within a second.
    std::chrono::milliseconds silence{25'000};
    // A compile of the largest sequence takes a few seconds; a send of a full flash about 10 s
    // per rate, two rates tried.
    std::chrono::milliseconds compile{120'000};
    std::chrono::milliseconds send{180'000};
};

struct DownloadRequest {
    Role role = Role::Maitre;
    std::string delayText;   // as typed in TRetard
    std::string programDir;  // the templates
    std::string workingDir;  // the working sequence file, the source, the Makefile
};

// The message a download ends with. `text` uses CR LF between lines.
struct DownloadMessage {
    enum class Icon { None, Exclamation, Critical, CriticalSystemModal };
    std::string title;  // empty: the application's title
    std::string text;
    Icon icon = Icon::None;
};

struct DownloadResult {
    enum class Kind;
    explicit DownloadResult(Kind how, DownloadMessage said = {}, bool withOutput = false)
        : kind(how), message(std::move(said)), showOutput(withOutput) {}

    enum class Kind {
        Refused,             // the sequence or the delay cannot be built: nothing generated
        FileError,           // template unreadable or source unwritable
        CompileError,        // also: make could not start, or the compile did not end
        CommunicationError,  // the module did not answer, or the send went silent
        UndefinedError,
        Success,
        Stopped,  // the runner was stopped from outside (the window closed): tell nothing
    };
    Kind kind;
    DownloadMessage message;
    // The output box is worth showing (it holds what the message is about).
    bool showOutput = false;
    // The word that decided, in the last command's output (byte offset), or npos.
    size_t wordAt = std::string_view::npos;
    size_t wordLength = 0;
};

// The build and download of the stored sequence: checks and generates the source, then runs
// "make all" and, once it compiled, "make program" in the working folder through `runner`, and
// reads the outcome. Only the runner holds the tools' output; the run keeps what it decides by.
//  - Compiled: make all's output holds "Aucune" (from its second byte, any case) and make
//    ended with status 0.
//  - Sent: make program's output holds, at a line start, the Makefile's line "Envoi terminé :
//    le module est programmé et vérifié.", make ended with status 0, and neither "not responding"
//    nor "error" nor a shell's report of a crashed tool appears. A crash, or make ending by a
//    signal, is the undefined error; "not responding" otherwise the communication error.
//  - make runs with LC_ALL=C and without LANGUAGE, MAKEFLAGS, MAKELEVEL, MFLAGS, MAKEFILES.
class DownloadRun {
  public:
    DownloadRun(std::shared_ptr<DOSClass> runner, DownloadEvents& events,
                DownloadBounds bounds = {});
    ~DownloadRun();
    DownloadRun(const DownloadRun&) = delete;
    DownloadRun& operator=(const DownloadRun&) = delete;

    // Runs the whole download and returns how it ended. The sequence's count follows the
    // stored "Nombre" once it was read. Returns Stopped when the runner was killed from outside
    // or stopped sending events (its owner went away).
    DownloadResult run(const DownloadRequest& request, SequenceModel& sequence);

  private:
    struct Listener;
    std::shared_ptr<DOSClass> runner_;
    DownloadEvents& events_;
    DownloadBounds bounds_;
};
