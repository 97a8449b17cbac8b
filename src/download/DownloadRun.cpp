#include "download/DownloadRun.h"

#include <filesystem>
#include <system_error>

#include "common/SystemError.h"
#include "common/Utf8Path.h"
#include "console/DOSClass.h"
#include "download/DownloadMessages.h"
#include "download/OutputReading.h"
#include "download/OutputWatch.h"
#include "firmware/BuildOutputView.h"
#include "firmware/Generation.h"
#include "firmware/TextBox.h"
#include "sequence/SequenceModel.h"

namespace {

// make's own status, not a signal (128 + n on Linux) nor a crash (an NTSTATUS such as
// 0xC0000005 on Windows, negative as a signed code).
bool endedByItself(int32_t exitCode) {
    return exitCode >= 0 && exitCode <= 128;
}

using Clock = std::chrono::steady_clock;
using Kind = DownloadResult::Kind;

const std::string kCompilingStage = "Compilation…";
const std::string kSendingStage = "Envoi au module…";
// A handler that keeps the user interface away from the runner this long (a dialog opened
// during the download) does not count as silence of the tool.
constexpr auto kAway = std::chrono::seconds(1);

}  // namespace

// Receives one command's events: feeds the watch and the owner, and ends the command when it
// goes silent or runs too long.
struct DownloadRun::Listener : DOSClassEvents {
    Listener(DOSClass& owner, DownloadEvents& listener, OutputWatch& seen, bool isSending,
             std::chrono::milliseconds silenceBound, std::chrono::milliseconds wholeBound)
        : runner(owner),
          events(listener),
          watch(seen),
          sending(isSending),
          silence(silenceBound),
          whole(wholeBound) {}

    void ReceiveOutputs(std::string& text) override {
        watch.add(text);
        events.outputArrived(text);
        lastOutput = Clock::now();
        if (sending) {
            const std::string progress = sendingProgress(watch.tail());
            const std::string line =
                progress.empty() ? kSendingStage : kSendingStage + " " + progress;
            if (line != stage) {
                stage = line;
                events.stageChanged(stage);
            }
        }
    }
    void ReceiveErrors(std::string& text) override { ReceiveOutputs(text); }
    void DoEvents() override {
        checkBounds();
        events.DoEvents();
    }
    bool WaitForEvents(int timeoutMs) override {
        checkBounds();
        return events.WaitForEvents(timeoutMs);
    }

    void checkBounds() {
        const Clock::time_point now = Clock::now();
        if (now - lastCheck > kAway) {
            lastOutput += now - lastCheck;
            started += now - lastCheck;
        }
        lastCheck = now;
        if (now - lastOutput > silence) {
            silent = true;
        } else if (now - started > whole) {
            tooLong = true;
        } else {
            return;
        }
        runner.KillCommand();
    }

    DOSClass& runner;
    DownloadEvents& events;
    OutputWatch& watch;
    const bool sending;
    const std::chrono::milliseconds silence;
    const std::chrono::milliseconds whole;
    Clock::time_point started = Clock::now();
    Clock::time_point lastOutput = started;
    Clock::time_point lastCheck = started;
    std::string stage = kSendingStage;
    bool silent = false;
    bool tooLong = false;
};

DownloadRun::DownloadRun(std::shared_ptr<DOSClass> runner, DownloadEvents& events,
                         DownloadBounds bounds)
    : runner_(std::move(runner)), events_(events), bounds_(bounds) {}

DownloadRun::~DownloadRun() = default;

DownloadResult DownloadRun::run(const DownloadRequest& request, SequenceModel& sequence) {
    TextBox box;
    const GenerationResult generated = generateSource(box, request.role, request.delayText,
                                                      request.programDir, request.workingDir);
    switch (generated.kind) {
        case GenerationResult::DelayRefused:
        case GenerationResult::CountRefused:
        case GenerationResult::TooManyCharacters:
        case GenerationResult::DurationRefused:
            return DownloadResult(Kind::Refused, refusalMessage(generated, request.delayText));
        case GenerationResult::TemplateUnreadable:
        case GenerationResult::SourceUnwritable:
            sequence.downloaded(generated.characterCount);
            return DownloadResult(Kind::FileError, fileErrorMessage(generated));
        case GenerationResult::Ok:
            break;
    }
    sequence.downloaded(generated.characterCount);
    events_.outputCleared();
    events_.outputArrived(box.Text());

    runner_->setCommandWorkingDirectory(request.workingDir);
    runner_->setCommandName("make");
    // Only the Makefile's own words decide: a translated message of make, or make's report of
    // an outer make ("Entering directory" with the folder's name), must not bring one in.
    runner_->setEnvironmentChanges(
        {"LC_ALL=C", "LANGUAGE", "MAKEFLAGS", "MAKELEVEL", "MFLAGS", "MAKEFILES"});

    const auto runMake = [&](const char* argument, OutputWatch& watch, bool sending,
                             std::chrono::milliseconds whole, int32_t& started) {
        events_.outputCleared();
        Listener listener(*runner_, events_, watch, sending, bounds_.silence, whole);
        runner_->setEvents(&listener);
        runner_->setCommandArgument(argument);
        started = runner_->ExecuteCommand(true);
        runner_->setEvents(nullptr);
        return std::pair{listener.silent, listener.tooLong};
    };

    events_.stageChanged(kCompilingStage);
    OutputWatch compiled = compileWatch();
    int32_t started = DOSClass::kResultEnded;
    const auto [compileSilent, compileTooLong] =
        runMake("all", compiled, false, bounds_.compile, started);
    const bool stopped = started == DOSClass::kResultKilled;
    events_.stageChanged(std::string());
    if (stopped && !compileSilent && !compileTooLong) {
        return DownloadResult(Kind::Stopped);
    }
    if (started != DOSClass::kResultEnded && !stopped) {
        std::error_code ignored;
        const std::string& folder = request.workingDir;
        const SystemError error{
            std::filesystem::is_directory(utf8Path(folder), ignored) ? "make" : folder, started};
        return DownloadResult(Kind::CompileError, compileErrorMessage(notStartedText(error)), true);
    }
    if (compileSilent || compileTooLong) {
        return DownloadResult(
            Kind::CompileError,
            compileErrorMessage(compileStoppedText(
                compileSilent, compileSilent ? bounds_.silence : bounds_.compile)),
            true);
    }
    if (!compileOutputSaysBuilt(compiled) || runner_->ExitCode() != 0) {
        return DownloadResult(Kind::CompileError,
                              compileErrorMessage(compileExcerptText(
                                  compiled.head(), compiled.size() > compiled.head().size())),
                              true);
    }

    events_.stageChanged(kSendingStage);
    OutputWatch sent = sendWatch();
    const auto [sendSilent, sendTooLong] = runMake("program", sent, true, bounds_.send, started);
    events_.stageChanged(std::string());
    if (started == DOSClass::kResultKilled && !sendSilent && !sendTooLong) {
        return DownloadResult(Kind::Stopped);
    }
    const SendReading reading = readSendOutput(sent);
    const int32_t exitCode = runner_->ExitCode();
    DownloadResult result(Kind::UndefinedError, undefinedMessage(), true);
    if (sendSilent || sendTooLong) {
        result = DownloadResult(
            Kind::CommunicationError,
            communicationMessage(false, sendSilent ? bounds_.silence : bounds_.send));
    } else if (started == DOSClass::kResultEnded && endedByItself(exitCode) &&
               reading == SendReading::NotResponding) {
        result = DownloadResult(Kind::CommunicationError,
                                communicationMessage(sendOutputSaysNoModule(sent), {}));
    } else if (started == DOSClass::kResultEnded && exitCode == 0 && reading == SendReading::Sent) {
        result = DownloadResult(Kind::Success, successMessage());
    }  // otherwise make could not start, ended by a signal, or the send failed
    if (result.kind != Kind::Success) {
        result.wordAt = decidingWordAt(sent, result.wordLength);
    }
    return result;
}
