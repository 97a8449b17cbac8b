#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "common/Windows1252.h"
#include "firmware/Generation.h"

namespace {

// A program folder with a master template and a working sequence of `count` characters.
void layOut(const TempFolder& folder, int count) {
    std::filesystem::create_directory(folder.path() + "/modèle");
    writeBytes(folder.path() + "/modèle/AfficheurCaracMaitre.mod",
               utf8ToAnsi("/* Afficheur : modèle maître */\r\n#include <avr/io.h>\r\n"
                          "volatile unsigned char ValLigne[7];\r\nvolatile unsigned int "
                          "T100ms;\r\nvoid GenererPulse(void);\r\nint main(void)\r\n{\r\n"
                          "\tfor(;;)\r\n\t{\r\n\t\t//ICI\r\n\t}\r\n}\r\n"));
    std::string sequence = "[Caractères]\r\nNombre=" + std::to_string(count) + "\r\n";
    for (int n = 1; n <= count; ++n) {
        sequence += "Caractère" + std::to_string(n) + "=" + std::to_string(n % 32) +
                    ";10;17;17;31;17;17;" + (n % 2 ? "0.5" : "1.25") + "\r\n";
    }
    writeBytes(folder.path() + "/MessageTemporaire.car", utf8ToAnsi(sequence));
}

void BM_GenerateMaster(benchmark::State& state) {
    TempFolder folder;
    layOut(folder, static_cast<int>(state.range(0)));
    TextBox box;
    for (auto _ : state) {
        const GenerationResult result = generateSource(box, Role::Maitre, "", folder.path());
        if (result.kind != GenerationResult::Ok || result.characterCount != state.range(0)) {
            state.SkipWithError("generation failed");
            break;
        }
        benchmark::DoNotOptimize(box.Text().data());
    }
}

}  // namespace

BENCHMARK(BM_GenerateMaster)->Arg(28)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
