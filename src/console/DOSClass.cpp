#include "console/DOSClass.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "console/ChildProcess.h"
#include "console/LocaleText.h"

namespace {

using Clock = std::chrono::steady_clock;
using Stream = ChildProcess::Stream;
using ReadStatus = ChildProcess::ReadStatus;

// Longest wait of a polling pass, and so the longest output waits unread.
constexpr int kPassMs = 20;
// Longest a pass keeps reading a flood before DoEvents, leaving room below kPassMs for a piece
// that is being handed on when the time is up.
constexpr auto kDrainBudget = std::chrono::milliseconds(10);

// Ends the run whichever way ExecuteCommand leaves, an exception from a handler included: the
// child is killed if it still runs, reaped, and its pipes closed.
class RunEnd {
  public:
    explicit RunEnd(std::unique_ptr<ChildProcess>& child) : child_(child) {}
    ~RunEnd() { child_.reset(); }
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

  private:
    std::unique_ptr<ChildProcess>& child_;
};

}  // namespace

DOSClass::DOSClass() = default;
DOSClass::~DOSClass() = default;

std::shared_ptr<DOSClass> DOSClass::create() {
    return std::shared_ptr<DOSClass>(new DOSClass());
}

void DOSClass::setEvents(DOSClassEvents* owner) {
    events_ = owner;
}

void DOSClass::setCommandName(std::string strDOSCommand) {
    commandName_ = std::move(strDOSCommand);
}
std::string DOSClass::CommandName() const {
    return commandName_;
}
void DOSClass::setCommandArgument(std::string strDOSCommandArg) {
    commandArgument_ = std::move(strDOSCommandArg);
}
std::string DOSClass::CommandArgument() const {
    return commandArgument_;
}
void DOSClass::setCommandWorkingDirectory(std::string strWorkingDir) {
    commandWorkingDirectory_ = std::move(strWorkingDir);
}
std::string DOSClass::CommandWorkingDirectory() const {
    return commandWorkingDirectory_;
}
void DOSClass::setEnvironmentChanges(std::vector<std::string> changes) {
    environmentChanges_ = std::move(changes);
}
void DOSClass::setInputs(std::string strInputs) {
    inputs_ = std::move(strInputs);
}
std::string DOSClass::Inputs() const {
    return inputs_;
}
int32_t DOSClass::ExitCode() const {
    return exitCode_;
}
const std::string& DOSClass::Outputs() const {
    return outputs_.str();
}
const std::string& DOSClass::Errors() const {
    return errors_.str();
}

bool DOSClass::isRunning() const {
    return child_ && !bKilled_ && child_->running();
}

int32_t DOSClass::PutInputs(const std::string& strInputs) {
    if (!isRunning())
        return 0;
    const size_t taken = child_->writeInput(toLocaleCharset(strInputs));
    return static_cast<int32_t>(std::min<size_t>(taken, std::numeric_limits<int32_t>::max()));
}

void DOSClass::KillCommand() {
    if (!isRunning())
        return;
    exitCode_ = child_->kill();
    bKilled_ = true;
}

int32_t DOSClass::ExecuteCommand(bool bMergeStdoutStderr) {
    if (child_)
        return kResultAlreadyRunning;
    // The owner may drop its pointer from an event; the run still needs the instance.
    const std::shared_ptr<DOSClass> keepAlive = shared_from_this();
    bKilled_ = false;
    auto child = std::make_unique<ChildProcess>();
    const int32_t startError =
        child->start(toLocaleCharset(commandName_ + " " + commandArgument_),
                     commandWorkingDirectory_, bMergeStdoutStderr, environmentChanges_);
    if (startError != 0)
        return startError;
    outputs_.clear();
    errors_.clear();
    child_ = std::move(child);
    const RunEnd runEnd(child_);
    if (!inputs_.empty())
        PutInputs(inputs_);
    return pollUntilEnd(bMergeStdoutStderr);
}

int32_t DOSClass::pollUntilEnd(bool merged) {
    LocaleDecoder outputDecoder;
    LocaleDecoder errorDecoder;
    std::string piece;

    // Adds a decoded piece to its stream's text, then hands it to the owner.
    auto deliver = [&](Stream stream, std::string text) {
        if (text.empty())
            return;
        if (stream == Stream::Output) {
            outputs_.append(text);
            if (events_ != nullptr)
                events_->ReceiveOutputs(text);
        } else {
            errors_.append(text);
            if (events_ != nullptr)
                events_->ReceiveErrors(text);
        }
    };
    // Reads until nothing waits, the pass is over (so a flood cannot starve the user interface)
    // or the run is killed. Returns false once the stream has closed.
    auto drain = [&](Stream stream, LocaleDecoder& decoder, Clock::time_point passEnd) {
        for (;;) {
            const ReadStatus status = child_->read(stream, piece);
            if (status == ReadStatus::Empty)
                return true;
            if (status == ReadStatus::Closed) {
                deliver(stream, decoder.finish());
                return false;
            }
            deliver(stream, decoder.decode(piece));
            if (bKilled_ || Clock::now() >= passEnd)
                return true;
        }
    };

    bool outputOpen = true;
    bool errorOpen = !merged;
    // Once the output has closed the child is usually ending: look again soon, then less often.
    int reapWaitMs = 1;
    for (;;) {
        const int waitMs = outputOpen ? kPassMs : reapWaitMs;
        bool outputArrived = child_->wait(0);
        bool interfaceWaited = false;
        if (!outputArrived) {
            interfaceWaited = events_ != nullptr && events_->WaitForEvents(waitMs);
            if (bKilled_)
                return kResultKilled;
            outputArrived = child_->wait(interfaceWaited ? 0 : waitMs);
        }
        const Clock::time_point passEnd = Clock::now() + kDrainBudget;
        if (outputOpen)
            outputOpen = drain(Stream::Output, outputDecoder, passEnd);
        if (errorOpen && !bKilled_)
            errorOpen = drain(Stream::Error, errorDecoder, passEnd);
        if (bKilled_)
            return kResultKilled;

        int32_t code = 0;
        if (!outputOpen && child_->tryReap(code)) {
            // The child has ended, so all it wrote to its error pipe is waiting there now.
            if (errorOpen) {
                drain(Stream::Error, errorDecoder, Clock::now() + kDrainBudget);
            }
            deliver(Stream::Error, errorDecoder.finish());
            exitCode_ = code;
            return kResultEnded;
        }
        if (!outputOpen)
            reapWaitMs = std::min(reapWaitMs * 2, kPassMs);

        if (!outputArrived && events_ != nullptr) {
            events_->WaitForInput(outputs_.str(), errors_.str());
            if (bKilled_)
                return kResultKilled;
        }
        if (events_ != nullptr && !interfaceWaited)
            events_->DoEvents();
        if (bKilled_)
            return kResultKilled;
    }
}
