// Reading INI files: linear in the keys of a section, so a catalogue or symbol
// library with 200,000 keys in one section loads in well under a second.

#include "foundation/Ini.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_SeccionConMuchasClaves(benchmark::State& Estado) {
    const int claves = static_cast<int>(Estado.range(0));
    std::string texto = "[MAIN]\n";
    for (int i = 0; i < claves; ++i)
        texto += "Clave" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    for (auto _ : Estado) {
        const auto ini = ventix::TArchivoIni::DeTexto(texto);
        benchmark::DoNotOptimize(ini.ReadInteger("MAIN", "Clave" + std::to_string(claves - 1), 0));
    }
    Estado.SetComplexityN(claves);
}
BENCHMARK(BM_SeccionConMuchasClaves)->RangeMultiplier(4)->Range(3125, 200000)->Complexity();

} // namespace
