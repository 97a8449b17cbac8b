#include "ModuleKit.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

RunningModule::RunningModule(const Environment& environment) {
    pid_ = fork();
    if (pid_ != 0) {
        return;
    }
    for (const std::string& setting : environment) {
        const std::size_t equals = setting.find('=');
        setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
    const int null = open("/dev/null", O_RDWR);
    for (int stream : {0, 1, 2}) {
        dup2(null, stream);
    }
    execl(VEXLO_PROGRAM_DIR "/vexlo-module", "vexlo-module", "--headless", nullptr);
    _exit(127);
}

RunningModule::~RunningModule() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

bool waitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
