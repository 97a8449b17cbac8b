#include "ChildRun.h"

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <stdexcept>

bool becomeNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

std::string inChild(const std::function<std::string()>& body, ChildLimits limits) {
    int fds[2];
    if (::pipe(fds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        bool ready = true;
        if (limits.unprivileged && ::geteuid() == 0) {
            ready = becomeNobody();
        }
        if (limits.maxFileSize >= 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(limits.maxFileSize),
                               static_cast<rlim_t>(limits.maxFileSize)};
            ready = ready && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        }
        const std::string text = ready ? body() : "child setup failed";
        const ssize_t written = ::write(fds[1], text.data(), text.size());
        ::_exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "child failed";
    }
    return text;
}

bool killedOrGone(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    bool ended = !status;
    unsigned long long pending = 0;
    while (std::getline(status, line)) {
        if (line.rfind("State:\t", 0) == 0 && line.size() > 7) {
            ended = line[7] == 'Z' || line[7] == 'X';
        } else if (line.rfind("SigPnd:\t", 0) == 0 || line.rfind("ShdPnd:\t", 0) == 0) {
            pending |= std::stoull(line.substr(8), nullptr, 16);
        }
    }
    return ended || (pending & (1ULL << (SIGKILL - 1))) != 0;
}
