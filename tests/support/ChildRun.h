#pragma once

#include <functional>
#include <string>

struct ChildLimits {
    bool unprivileged = false;  // run as "nobody" when the tests run as root
    long maxFileSize = -1;      // RLIMIT_FSIZE in bytes, or -1 for none: a disk that fills up
};

// Makes a root process "nobody" (uid and gid 65534, no groups); false when that failed.
bool becomeNobody();

// Runs `body` in a forked child under `limits` and returns the text it produced.
std::string inChild(const std::function<std::string()>& body, ChildLimits limits);

// True when the process is gone or sure to go at once: no such process, a zombie, or SIGKILL
// waiting for it (a kill is queued before kill() returns, so no waiting is needed).
bool killedOrGone(int pid);
