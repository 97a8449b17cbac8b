#include "ProgrammingPort.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "Stk500Session.h"

namespace {

// Connections that wait for the session under way; avrdude gives up on one after about 10 s.
constexpr int kWaitingConnections = 16;
// A connection silent this long is no avrdude at work (it waits 5 s at most for an answer): it
// gives the module back to the next one.
constexpr int kIdleMilliseconds = 15000;

bool sendAll(int connection, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

}  // namespace

ProgrammingPort::ProgrammingPort(Module module) : module_(std::move(module)) {}

ProgrammingPort::~ProgrammingPort() {
    if (thread_.joinable()) {
        const char stop = 0;
        while (write(stopPipe_[1], &stop, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    for (int descriptor : {listener_, stopPipe_[0], stopPipe_[1]}) {
        if (descriptor >= 0) {
            close(descriptor);
        }
    }
}

int ProgrammingPort::open() {
    if (pipe2(stopPipe_, O_CLOEXEC) != 0) {
        return errno;
    }
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) {
        return errno;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (bind(listener_, generic, length) != 0 || listen(listener_, kWaitingConnections) != 0 ||
        getsockname(listener_, generic, &length) != 0) {
        return errno;
    }
    number_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
    return 0;
}

bool ProgrammingPort::stopping() const {
    pollfd stop{stopPipe_[0], POLLIN, 0};
    return poll(&stop, 1, 0) > 0;
}

void ProgrammingPort::serve() {
    while (!stopping()) {
        pollfd ready[] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(ready, 2, -1) < 0 || !(ready[0].revents & POLLIN)) {
            continue;
        }
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) {
            session(connection);
            close(connection);
        }
    }
}

void ProgrammingPort::session(int connection) {
    const int on = 1;
    setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // Closing resets the link, and so does the system when the module dies: avrdude then reads
    // an error and gives up, where an orderly end of file would keep it reading for ever.
    const linger reset{1, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    // A connection that waited while another session ran holds the sync requests avrdude sent
    // meanwhile; answering them all would shift every later answer, so they are dropped and
    // avrdude's next attempt finds the bootloader fresh.
    char bytes[4096];
    while (recv(connection, bytes, sizeof bytes, MSG_DONTWAIT) > 0) {
    }
    Stk500Session bootloader(module_.enterBootloader());
    bool left = false;
    for (;;) {
        pollfd ready[] = {{connection, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        const int events = poll(ready, 2, kIdleMilliseconds);
        if (events < 0) {
            continue;
        }
        if (events == 0 || ready[1].revents != 0) {
            break;
        }
        const ssize_t got = recv(connection, bytes, sizeof bytes, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 ||
            !sendAll(connection, bootloader.receive({bytes, static_cast<std::size_t>(got)}))) {
            break;
        }
        if (bootloader.finished() && !left) {
            module_.leaveBootloader(bootloader.flash());
            left = true;
        }
    }
    if (!left) {
        module_.leaveBootloader(bootloader.flash());
    }
}
