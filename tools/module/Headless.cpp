#include "Headless.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "VirtualModule.h"
#include "common/SessionEnd.h"

namespace {

void print(int module, const ShownCharacter& character) {
    std::printf("module %d start %.3f duration %.3f rows", module + 1,
                static_cast<double>(character.start.count()) / 1e6,
                static_cast<double>(character.duration.count()) / 1e6);
    for (uint8_t row : character.rows) {
        std::printf(" %u", row);
    }
    std::printf("\n");
    std::fflush(stdout);
}

void obey(VirtualModule& virtualModule, const std::string& line) {
    int module = 0;
    if (std::sscanf(line.c_str(), "cable %d", &module) == 1 && module >= 1 &&
        module <= virtualModule.chain().size()) {
        virtualModule.plugCable(module - 1);
    } else {
        std::fprintf(stderr, "Commande inconnue : %s (attendu : cable 1 à cable %d)\n",
                     line.c_str(), virtualModule.chain().size());
    }
}

}  // namespace

int runHeadless(int modules) {
    const SessionEnd sessionEnd;  // so that the port file goes with the module
    if (sessionEnd.descriptor() < 0) {
        std::perror("pipe");
        return 1;
    }

    VirtualModule virtualModule(modules, print);
    if (const std::string failure = virtualModule.open(); !failure.empty()) {
        std::fprintf(stderr, "Afficheur virtuel impossible : %s.\n", failure.c_str());
        return 1;
    }
    std::fprintf(stderr, "Afficheur virtuel prêt : avrdude -c stk500v1 -P %s\n",
                 virtualModule.port().c_str());

    std::string pending;
    bool input = true;
    for (;;) {
        pollfd ready[] = {{sessionEnd.descriptor(), POLLIN, 0},
                          {input ? STDIN_FILENO : -1, POLLIN, 0}};
        if (poll(ready, 2, -1) < 0) {
            continue;
        }
        if (ready[0].revents != 0) {
            return 0;
        }
        if (ready[1].revents == 0) {
            continue;
        }
        char bytes[256];
        const ssize_t got = read(STDIN_FILENO, bytes, sizeof bytes);
        if (got <= 0) {
            input = got < 0 && errno == EINTR;
            continue;
        }
        pending.append(bytes, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            obey(virtualModule, pending.substr(0, end));
            pending.erase(0, end + 1);
        }
    }
}
