#include "download/OutputReading.h"

#include <string>

namespace {

constexpr std::string_view kSentLine = "Envoi terminé : le module est programmé et vérifié.";
// The shell's words for a tool that a signal ended, as it reports it below the tool's output
// (quoting the command line, which may hold "not responding").
constexpr std::string_view kCrashReports[] = {
    "Segmentation fault",       "Bus error", "Aborted",    "Illegal instruction",
    "Floating point exception", "Killed",    "Terminated", "core dumped"};

enum SendWord : size_t { NotResponding, Error, Sent, NoModule, FirstCrash };
constexpr std::string_view kNotResponding = "not responding";
constexpr std::string_view kError = "error";

}  // namespace

OutputWatch compileWatch() {
    return OutputWatch({{"Aucune"}});
}

OutputWatch sendWatch() {
    std::vector<OutputWatch::Word> words = {{std::string(kNotResponding)},
                                            {std::string(kError)},
                                            {std::string(kSentLine), true},
                                            {"Aucun module trouvé", true}};
    for (std::string_view crash : kCrashReports)
        words.push_back({std::string(crash)});
    return OutputWatch(std::move(words));
}

bool compileOutputSaysBuilt(const OutputWatch& compileOutput) {
    return compileOutput.found(0) != OutputWatch::npos;
}

SendReading readSendOutput(const OutputWatch& sendOutput) {
    for (size_t crash = FirstCrash; crash < FirstCrash + std::size(kCrashReports); ++crash) {
        if (sendOutput.found(crash) != OutputWatch::npos)
            return SendReading::Failed;
    }
    if (sendOutput.found(NotResponding) != OutputWatch::npos)
        return SendReading::NotResponding;
    if (sendOutput.found(Error) != OutputWatch::npos || sendOutput.found(Sent) == OutputWatch::npos)
        return SendReading::Failed;
    return SendReading::Sent;
}

bool sendOutputSaysNoModule(const OutputWatch& sendOutput) {
    return sendOutput.found(NoModule) != OutputWatch::npos;
}

size_t decidingWordAt(const OutputWatch& sendOutput, size_t& length) {
    const bool notResponding = readSendOutput(sendOutput) == SendReading::NotResponding;
    length = notResponding ? kNotResponding.size() : kError.size();
    return sendOutput.found(notResponding ? NotResponding : Error);
}
