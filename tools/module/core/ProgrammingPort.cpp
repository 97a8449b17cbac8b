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
    if (bind(listener_, generic, length) != 0 || listen(listener_, 4) != 0 ||
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
    Stk500Session bootloader(module_.enterBootloader());
    bool left = false;
    for (;;) {
        pollfd ready[] = {
            {connection, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        if (poll(ready, 3, -1) < 0) {
            continue;
        }
        if (ready[1].revents != 0) {
            break;
        }
        if (ready[2].revents & POLLIN) {
            const int busy = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (busy >= 0) {
                close(busy);
            }
        }
        if (ready[0].revents == 0) {
            continue;
        }
        char bytes[4096];
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
