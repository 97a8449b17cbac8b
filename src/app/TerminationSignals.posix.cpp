#include "app/TerminationSignals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

namespace {

// The handler only writes a byte here; the event loop does the rest outside the handler.
int wakeFds[2] = {-1, -1};
struct sigaction previousTerm {};
struct sigaction previousHup {};
bool sessionEnding = false;

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeFds[1], &byte, 1);
}

}  // namespace

bool TerminationSignals::ending() {
    return sessionEnding;
}

TerminationSignals::TerminationSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeFds) != 0) {
        return;  // the program still runs, only without this clean-up
    }
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [] {
        char bytes[16];
        while (::read(wakeFds[0], bytes, sizeof bytes) > 0) {
        }
        sessionEnding = true;
        QApplication::closeAllWindows();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &previousTerm);
    sigaction(SIGHUP, &action, &previousHup);
}

TerminationSignals::~TerminationSignals() {
    sessionEnding = false;
    if (notifier_ == nullptr) {
        return;
    }
    sigaction(SIGTERM, &previousTerm, nullptr);
    sigaction(SIGHUP, &previousHup, nullptr);
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}
