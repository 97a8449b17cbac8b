#include "console/ChildProcess.h"

size_t ChildProcess::writeInput(std::string_view bytes) {
    if (!running() || !inputOpen())
        return 0;
    queuedInput_.append(bytes);
    flushInput();
    return inputOpen() ? bytes.size() : 0;
}

void ChildProcess::flushInput() {
    while (inputOpen() && inputQueued()) {
        const std::optional<size_t> written =
            writeSome(std::string_view(queuedInput_).substr(queuedOffset_));
        if (!written)
            break;  // the child closed its input: nothing more can reach it
        if (*written == 0)
            return;
        queuedOffset_ += *written;
    }
    queuedInput_.clear();
    queuedOffset_ = 0;
}

void ChildProcess::close() {
    closePipes();
    queuedInput_.clear();
    queuedOffset_ = 0;
}
