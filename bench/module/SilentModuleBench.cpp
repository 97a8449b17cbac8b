// How long "make program" takes to report a module that never answers, both baud rates tried:
// the real Makefile and avrdude on a pseudo-terminal that nobody answers (a serial port with a
// dead or unpowered module behind it).
#include <benchmark/benchmark.h>
#include <pty.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

void BM_SilentModuleReported(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() / ("vexlo-bench-module-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::copy_file(fs::path(VEXLO_PROGRAM_DIR) / "Makefile", folder / "Makefile");
    std::ofstream(folder / "AfficheurCarac.hex") << ":00000001FF\n";
    int controller = -1, port = -1;
    char name[256];
    if (::openpty(&controller, &port, name, nullptr, nullptr) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    const std::string command =
        "cd '" + folder.string() + "' && make program PORT=" + name + " 2>&1";
    for (auto _ : state) {
        FILE* make = ::popen(command.c_str(), "r");
        std::string output;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, make)) > 0;) {
            output.append(buffer, n);
        }
        ::pclose(make);
        if (output.find("Le module ne répond pas : programmer is not responding") ==
            std::string::npos) {
            state.SkipWithError(("not reported as silent: " + output).c_str());
            break;
        }
    }
    ::close(port);
    ::close(controller);
    fs::remove_all(folder);
}
BENCHMARK(BM_SilentModuleReported)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
