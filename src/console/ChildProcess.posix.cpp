#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "common/UniqueFd.h"
#include "console/ChildProcess.h"
#include "console/CommandLine.h"

extern char** environ;

namespace {

// Output pipes are enlarged so a fast writer runs ahead while a piece is being handed on; one
// read takes up to a quarter of that.
constexpr int kOutputPipeSize = 1024 * 1024;
constexpr size_t kReadSize = 256 * 1024;

struct Pipe {
    UniqueFd read;
    UniqueFd write;
};

// A close-on-exec pipe whose ends are both above 2, so the child's dup2 onto 0, 1 and 2 never
// overwrites one of them even when the owner runs with a standard stream closed.
int makePipe(Pipe& pipe) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return errno;
    pipe.read.reset(fds[0]);
    pipe.write.reset(fds[1]);
    for (UniqueFd* end : {&pipe.read, &pipe.write}) {
        if (end->get() > 2)
            continue;
        const int moved = fcntl(end->get(), F_DUPFD_CLOEXEC, 3);
        if (moved < 0)
            return errno;
        end->reset(moved);
    }
    return 0;
}

int setNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        return errno;
    return 0;
}

// The paths to try for a program name, as execvp tries them, worked out before fork() so the
// child only makes async-signal-safe calls.
std::vector<std::string> programCandidates(const std::string& name) {
    if (name.find('/') != std::string::npos)
        return {name};
    const char* path = std::getenv("PATH");
    const std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::vector<std::string> candidates;
    size_t begin = 0;
    while (begin <= dirs.size()) {
        size_t end = dirs.find(':', begin);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = end > begin ? dirs.substr(begin, end - begin) : ".";
        candidates.push_back(dir + "/" + name);
        begin = end + 1;
    }
    return candidates;
}

// This process's environment with the changes applied, built before fork() like the candidates.
std::vector<std::string> childEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> environment;
    const auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const bool changed = std::any_of(changes.begin(), changes.end(), [&](const auto& change) {
            return nameOf(change) == nameOf(variable);
        });
        if (!changed)
            environment.push_back(variable);
    }
    for (const std::string& change : changes) {
        if (change.find('=') != std::string::npos)
            environment.push_back(change);
    }
    return environment;
}

int32_t exitCodeOf(int status) {
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

// Writes with SIGPIPE blocked for this thread and a SIGPIPE raised by the write consumed, so a
// child that closed its input gives EPIPE here instead of ending the owner.
ssize_t writeWithoutSigpipe(int fd, const char* data, size_t size) {
    sigset_t pipeSet;
    sigset_t oldMask;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &oldMask);
    sigset_t pending;
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
    ssize_t written;
    do {
        written = ::write(fd, data, size);
    } while (written < 0 && errno == EINTR);
    const int error = errno;
    if (written < 0 && error == EPIPE && !alreadyPending) {
        const timespec noWait{};
        while (sigtimedwait(&pipeSet, nullptr, &noWait) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    errno = error;
    return written;
}

// Signal handler of the guard: the whole group goes with it, the guard included.
void endGroup(int) {
    ::kill(0, SIGKILL);
}

// The guard passes on how the command ended: its exit status, or the same signal.
[[noreturn]] void endLike(int status) {
    if (WIFSIGNALED(status)) {
        struct sigaction defaultAction {};
        defaultAction.sa_handler = SIG_DFL;
        sigaction(WTERMSIG(status), &defaultAction, nullptr);
        ::kill(getpid(), WTERMSIG(status));
        _exit(128 + WTERMSIG(status));
    }
    _exit(WEXITSTATUS(status));
}

// Runs in the child between fork() and exec: async-signal-safe calls only. On failure the
// error number goes back through the close-on-exec error pipe.
//
// The child stays as a guard that leads the process group and forks the command into it: when
// the owner dies, even by SIGKILL, the system sends the guard SIGTERM, and the guard ends the
// whole group, so make loses its tools too (a death signal alone would reach make only).
[[noreturn]] void execChild(pid_t owner, int in, int out, int err, int errorPipe,
                            const char* workingDirectory,
                            const std::vector<const char*>& candidates, char* const* argv,
                            char* const* envp) {
    setpgid(0, 0);
    struct sigaction groupEnd {};
    groupEnd.sa_handler = endGroup;
    sigaction(SIGTERM, &groupEnd, nullptr);
    sigaction(SIGHUP, &groupEnd, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != owner)  // the owner died before the death signal was asked for
        endGroup(SIGTERM);

    const pid_t command = fork();
    if (command > 0) {
        // Only the command holds the pipes, so they close when it and its children end; nor
        // does the guard keep any other descriptor of the owner open.
        close_range(0, ~0U, 0);
        int status = 0;
        while (waitpid(command, &status, 0) < 0) {
            if (errno != EINTR)
                _exit(127);
        }
        endLike(status);
    }
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    for (const int signal : {SIGTERM, SIGHUP, SIGPIPE})
        sigaction(signal, &defaultAction, nullptr);

    int error = command < 0 ? errno : 0;
    if (error == 0 && (dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0))
        error = errno;
    // Descriptors the owner left inheritable must not reach the command either.
    close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    if (error == 0 && workingDirectory != nullptr && chdir(workingDirectory) != 0)
        error = errno;
    if (error == 0) {
        bool denied = false;
        for (const char* candidate : candidates) {
            execve(candidate, argv, envp);
            error = errno;
            if (error == EACCES)
                denied = true;
            if (error != ENOENT && error != ENOTDIR && error != EACCES)
                break;
        }
        if (denied && (error == ENOENT || error == ENOTDIR))
            error = EACCES;
    }
    while (::write(errorPipe, &error, sizeof error) < 0 && errno == EINTR) {
    }
    _exit(127);
}

}  // namespace

struct ChildProcess::State {
    pid_t pid = -1;
    bool reaped = false;
    int32_t exitCode = 0;
    UniqueFd input;   // parent's write end of the child's standard input
    UniqueFd output;  // parent's read end of the child's standard output
    UniqueFd error;   // parent's read end of the child's standard error, when separate

    bool waitFor(pid_t target, int options) {
        int status = 0;
        pid_t r;
        do {
            r = waitpid(target, &status, options);
        } while (r < 0 && errno == EINTR);
        if (r == 0)
            return false;
        // ECHILD: the owner lets the system reap children (SIGCHLD ignored); the code is lost.
        exitCode = r == target ? exitCodeOf(status) : -1;
        reaped = true;
        return true;
    }
};

ChildProcess::ChildProcess() : state_(std::make_unique<State>()) {}

ChildProcess::~ChildProcess() {
    if (running())
        kill();
    close();
}

int32_t ChildProcess::start(const std::string& commandLine, const std::string& workingDirectory,
                            bool mergeErrors, const std::vector<std::string>& environmentChanges) {
    const std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty())
        return ENOENT;
    const std::vector<std::string> candidates = programCandidates(words.front());
    std::vector<const char*> candidatePtrs;
    for (const std::string& c : candidates)
        candidatePtrs.push_back(c.c_str());
    std::vector<char*> argv;
    for (const std::string& w : words)
        argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    const std::vector<std::string> environment = childEnvironment(environmentChanges);
    std::vector<char*> envp;
    for (const std::string& variable : environment)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);

    Pipe in, out, err, report;
    if (int e = makePipe(out); e != 0)
        return e;
    if (int e = makePipe(in); e != 0)
        return e;
    if (!mergeErrors) {
        if (int e = makePipe(err); e != 0)
            return e;
    }
    if (int e = makePipe(report); e != 0)
        return e;
    for (const UniqueFd* outputEnd : {&out.read, &err.read}) {
        if (outputEnd->open())
            fcntl(outputEnd->get(), F_SETPIPE_SZ, kOutputPipeSize);  // a wish
    }
    for (const UniqueFd* parentEnd : {&in.write, &out.read, &err.read}) {
        if (!parentEnd->open())
            continue;
        if (int e = setNonBlocking(parentEnd->get()); e != 0)
            return e;
    }

    const pid_t owner = getpid();
    const pid_t pid = fork();
    if (pid < 0)
        return errno;
    if (pid == 0) {
        execChild(owner, in.read.get(), out.write.get(),
                  mergeErrors ? out.write.get() : err.write.get(), report.write.get(),
                  workingDirectory.empty() ? nullptr : workingDirectory.c_str(), candidatePtrs,
                  argv.data(), envp.data());
    }
    // Also set here so the group exists before anyone signals it, whichever side runs first.
    setpgid(pid, pid);
    state_->pid = pid;
    in.read.reset();
    out.write.reset();
    err.write.reset();
    report.write.reset();

    int childError = 0;
    ssize_t got;
    do {
        got = ::read(report.read.get(), &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    if (got == static_cast<ssize_t>(sizeof childError)) {
        state_->waitFor(pid, 0);
        return childError;
    }
    state_->input = std::move(in.write);
    state_->output = std::move(out.read);
    state_->error = std::move(err.read);
    return 0;
}

bool ChildProcess::wait(int timeoutMs) {
    State& s = *state_;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd fds[3];
        nfds_t count = 0;
        for (const UniqueFd* stream : {&s.output, &s.error}) {
            if (stream->open())
                fds[count++] = {stream->get(), POLLIN, 0};
        }
        const nfds_t outputCount = count;
        const bool inputWaits = s.input.open() && inputQueued();
        if (inputWaits)
            fds[count++] = {s.input.get(), POLLOUT, 0};

        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const int r = poll(fds, count, static_cast<int>(std::max<int64_t>(left.count(), 0)));
        if (r < 0 && errno != EINTR)
            return false;
        for (nfds_t i = 0; i < outputCount; ++i) {
            if (r > 0 && fds[i].revents != 0)
                return true;
        }
        if (inputWaits && r > 0 && fds[outputCount].revents != 0)
            flushInput();
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    }
}

ChildProcess::ReadStatus ChildProcess::read(Stream stream, std::string& piece) {
    UniqueFd& fd = stream == Stream::Output ? state_->output : state_->error;
    piece.clear();
    if (!fd.open())
        return ReadStatus::Closed;
    piece.resize(kReadSize);
    ssize_t got;
    do {
        got = ::read(fd.get(), piece.data(), piece.size());
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        piece.resize(static_cast<size_t>(got));
        return ReadStatus::Data;
    }
    piece.clear();
    if (got < 0 && errno == EAGAIN)
        return ReadStatus::Empty;
    fd.reset();
    return ReadStatus::Closed;
}

bool ChildProcess::tryReap(int32_t& exitCode) {
    State& s = *state_;
    if (s.pid < 0)
        return false;
    if (!s.reaped && !s.waitFor(s.pid, WNOHANG))
        return false;
    exitCode = s.exitCode;
    return true;
}

int32_t ChildProcess::kill() {
    State& s = *state_;
    if (running()) {
        ::kill(-s.pid, SIGKILL);
        ::kill(s.pid, SIGKILL);  // in case it left its group before we could signal it
        s.waitFor(s.pid, 0);
    }
    close();
    return s.exitCode;
}

std::optional<size_t> ChildProcess::writeSome(std::string_view bytes) {
    UniqueFd& input = state_->input;
    const ssize_t written = writeWithoutSigpipe(input.get(), bytes.data(), bytes.size());
    if (written >= 0)
        return static_cast<size_t>(written);
    if (errno == EAGAIN)
        return 0;
    input.reset();
    return std::nullopt;
}

bool ChildProcess::inputOpen() const {
    return state_->input.open();
}

void ChildProcess::closePipes() {
    state_->input.reset();
    state_->output.reset();
    state_->error.reset();
}

bool ChildProcess::running() const {
    return state_->pid > 0 && !state_->reaped;
}
