// The recording of a run: memory grows linearly with steps x recorded
// elements, and 10,000 steps of a 100-component circuit stay under 20 MB.

#include "Generador.h"
#include "Principal.h"

#include "sim/Registro.h"
#include "sim/SimCircuito.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

using namespace ventix;

namespace {

// One iteration: a reset and range(1) full steps of a circuit of range(0)
// components, recorded.
void BM_Registro(benchmark::State& State) {
    TAerPaintBox L;
    L.Libreria.Cargar(std::filesystem::u8path(VENTIX_CATALOGO));
    bench::Vaivenes(L, static_cast<int>(State.range(0)));
    if (L.Verificar() != 0)
        State.SkipWithError("the generated circuit has errors");
    TSimCircuito s(L);
    L.Modo = mdParado;
    const int pasos = static_cast<int>(State.range(1));
    std::size_t bytes = 0;
    for (auto _ : State) {
        s.Restablecer();
        for (int k = 0; k < pasos; ++k) {
            s.Propagar();
            s.Avanzar();
        }
        bytes = s.Registro->Bytes();
    }
    const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    State.counters["MB"] = mb;
    State.counters["filas"] = static_cast<double>(s.Registro->Filas().size());
    State.counters["tubos"] = L.Tubos.Count();
    if (State.range(0) <= 100 && pasos <= 10000 && mb >= 20.0)
        State.SkipWithError("the recording of 10,000 steps of 100 components exceeds 20 MB");
}

} // namespace

BENCHMARK(BM_Registro)
    ->Args({100, 1000})
    ->Args({100, 10000})
    ->Args({1000, 10000})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return ventix::bench::Principal(argc, argv);
}
