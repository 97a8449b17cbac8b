// LireIni of the last record of a sequence file, as the preview and the download do it: the
// whole file is read and scanned on every call.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "storage/FichIni.h"
#include "storage/SequenceLayout.h"

namespace {

// A sequence file of `characters` records written the way the validations write it.
std::string makeSequenceFile(int characters) {
    std::string folder = "/tmp/vexlo-bench-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        std::abort();
    }
    const std::string path = folder + "/" + std::string(kWorkingSequenceFileName);
    const std::string section(kSequenceSection);
    for (int n = 1; n <= characters; ++n) {
        if (EcrireIni(section, std::string(kCountKey), std::to_string(n), path) == 0 ||
            EcrireIni(section, recordKey(n), "31;17;17;31;17;17;17;0.5", path) == 0) {
            std::abort();
        }
    }
    return path;
}

void removeSequenceFile(const std::string& path) {
    ::unlink(path.c_str());
    ::rmdir(path.substr(0, path.rfind('/')).c_str());
}

void BM_LireIniLastRecord(benchmark::State& state) {
    const int characters = static_cast<int>(state.range(0));
    const std::string path = makeSequenceFile(characters);
    const std::string section(kSequenceSection);
    const std::string key = recordKey(characters);
    for (auto _ : state) {
        std::string value = LireIni(section, key, path);
        benchmark::DoNotOptimize(value);
    }
    removeSequenceFile(path);
}

BENCHMARK(BM_LireIniLastRecord)->Arg(28)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
