#include "common/SessionEnd.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>

namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The handler only writes a byte here; the program's loop does the rest outside the handler.
int wakeFds[2] = {-1, -1};
struct sigaction previousActions[std::size(kEndingSignals)];

void onEndingSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeFds[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

SessionEnd::SessionEnd() {
    if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakeFds[0] = wakeFds[1] = -1;
        return;
    }
    struct sigaction action {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t n = 0; n < std::size(kEndingSignals); ++n)
        sigaction(kEndingSignals[n], &action, &previousActions[n]);
}

SessionEnd::~SessionEnd() {
    if (wakeFds[0] < 0)
        return;
    for (size_t n = 0; n < std::size(kEndingSignals); ++n)
        sigaction(kEndingSignals[n], &previousActions[n], nullptr);
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

int SessionEnd::descriptor() const {
    return wakeFds[0];
}

bool SessionEnd::drain() {
    bool arrived = false;
    char bytes[16];
    for (;;) {
        const ssize_t got = ::read(wakeFds[0], bytes, sizeof bytes);
        if (got > 0)
            arrived = true;
        else if (got == 0 || errno != EINTR)
            return arrived;
    }
}
