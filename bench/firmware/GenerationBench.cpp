#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/Windows1252.h"
#include "firmware/Generation.h"

namespace {

namespace fs = std::filesystem;

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A program folder with a master template and a working sequence of `count` characters.
void layOut(const fs::path& folder, int count) {
    fs::create_directories(folder / "modèle");
    writeBytes(folder / "modèle/AfficheurCaracMaitre.mod",
               utf8ToAnsi("/* Afficheur : modèle maître */\r\n#include <avr/io.h>\r\n"
                          "volatile unsigned char ValLigne[7];\r\nvolatile unsigned int "
                          "T100ms;\r\nvoid GenererPulse(void);\r\nint main(void)\r\n{\r\n"
                          "\tfor(;;)\r\n\t{\r\n\t\t//ICI\r\n\t}\r\n}\r\n"));
    std::string sequence = "[Caractères]\r\nNombre=" + std::to_string(count) + "\r\n";
    for (int n = 1; n <= count; ++n) {
        sequence += "Caractère" + std::to_string(n) + "=" + std::to_string(n % 32) +
                    ";10;17;17;31;17;17;" + (n % 2 ? "0.5" : "1.25") + "\r\n";
    }
    writeBytes(folder / "MessageTemporaire.car", utf8ToAnsi(sequence));
}

void BM_GenerateMaster(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() / ("vexlo-bench-" + std::to_string(::getpid()));
    layOut(folder, static_cast<int>(state.range(0)));
    TextBox box;
    for (auto _ : state) {
        const GenerationResult result =
            generateSource(box, Role::Maitre, "", folder.string(), folder.string());
        if (result.kind != GenerationResult::Ok || result.characterCount != state.range(0)) {
            state.SkipWithError("generation failed");
            break;
        }
        benchmark::DoNotOptimize(box.Text().data());
    }
    fs::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_GenerateMaster)->Arg(28)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
