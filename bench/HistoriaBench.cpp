// The undo history's part of an edit: after one element moves, the circuit
// is written as a snapshot, compared with the last one and kept as a step.
// The cost must be a small part of a whole write, and what a step keeps must
// grow with what changed, not with the circuit.

#include "Generador.h"
#include "Principal.h"

#include "files/ArchivoAer.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace ventix;
using namespace ventix::bench;

namespace {

// What the window keeps: the writer of snapshots, the last snapshot and the
// steps, each with the circuit before and after.
struct THistoria {
    ArchivoAer::TEscritorInstantaneas Escritor;
    ArchivoAer::TInstantanea Ultimo;
    std::deque<std::pair<ArchivoAer::TInstantanea, ArchivoAer::TInstantanea>> Pasos;

    explicit THistoria(TAerPaintBox& L) : Ultimo(Escritor.Escribir(L)) {}
    bool Registrar(TAerPaintBox& L) {
        auto Ahora = Escritor.Escribir(L);
        if (Ahora == Ultimo)
            return false;
        Pasos.emplace_back(Ultimo, Ahora);
        Ultimo = std::move(Ahora);
        return true;
    }
};

std::size_t Monton() {
    return mallinfo2().uordblks;
}

TAerPaintBox* Circuito(int Componentes) {
    auto* L = new TAerPaintBox;
    L->Libreria.Cargar(std::filesystem::u8path(VENTIX_CATALOGO));
    Pulsadores(*L, Componentes);
    return L;
}

// A valve near the middle of the list, moved back and forth with its tubes.
void Mover(TAerPaintBox& L, int Paso) {
    auto* v = L.Componentes.ItemComo<TAerComponente>(L.Componentes.Count() / 2 + 1);
    L.MoverGrupo({v}, Paso % 2 ? -0.5 : 0.5, 0);
}

// Recording one step after a one-element move; the history keeps a few
// steps so that memory stays bounded at every size.
void BM_RegistrarPaso(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    TAerPaintBox* L = Circuito(n);
    THistoria h(*L);
    int paso = 0;
    for (auto _ : State) {
        State.PauseTiming();
        Mover(*L, paso++);
        if (h.Pasos.size() > 4)
            h.Pasos.pop_front();
        State.ResumeTiming();
        if (!h.Registrar(*L))
            State.SkipWithError("the move was not recorded");
    }
    State.counters["componentes"] = n;
    State.counters["por_componente"] = benchmark::Counter(
        n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    delete L;
}

// Recording the deletion of a valve with its three tubes from the middle of
// the circuit. The unnamed components after it are written with other "$$$"
// names (their places), so their lines and those of their tubes change too.
void BM_RegistrarBorrado(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    TAerPaintBox* L = Circuito(n);
    THistoria h(*L);
    for (auto _ : State) {
        State.PauseTiming();
        L->BorrarElementos(
            {L->Componentes.ItemComo<TAerComponente>(L->Componentes.Count() / 2 + 1)});
        if (h.Pasos.size() > 4)
            h.Pasos.pop_front();
        State.ResumeTiming();
        if (!h.Registrar(*L))
            State.SkipWithError("the deletion was not recorded");
    }
    State.counters["componentes"] = n;
    delete L;
}

// The first snapshot of a circuit (after opening it, or when the writer
// remembers nothing of it): a whole write, plus the pieces kept.
void BM_PrimeraInstantanea(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    TAerPaintBox* L = Circuito(n);
    double bytes = 0;
    for (auto _ : State) {
        const std::size_t antes = Monton();
        auto e = std::make_unique<ArchivoAer::TEscritorInstantaneas>();
        benchmark::DoNotOptimize(e->Escribir(*L));
        State.PauseTiming();
        bytes = static_cast<double>(Monton() - antes);
        e.reset();
        State.ResumeTiming();
    }
    State.counters["componentes"] = n;
    // The writer's memory of the circuit.
    State.counters["bytes_por_componente"] = bytes / n;
    delete L;
}

// What recording twenty one-element moves adds to the heap, per step (the
// moves themselves are not counted: posing a moved symbol allocates too).
void BM_MemoriaPorPaso(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    constexpr int kPasos = 20;
    TAerPaintBox* L = Circuito(n);
    double bytes = 0, propios = 0;
    for (auto _ : State) {
        THistoria h(*L);
        // The writer's own memory is made by the first two snapshots.
        Mover(*L, 1);
        h.Registrar(*L);
        bytes = propios = 0;
        for (int k = 0; k < kPasos; ++k) {
            Mover(*L, k);
            const std::size_t antes = Monton();
            h.Registrar(*L);
            bytes += static_cast<double>(Monton() - antes);
            propios += static_cast<double>(h.Ultimo.BytesPropios(h.Pasos.back().first));
        }
    }
    State.counters["componentes"] = n;
    State.counters["bytes_por_paso"] = bytes / kPasos;
    // What a snapshot holds that the one before it does not.
    State.counters["propios_por_paso"] = propios / kPasos;
    delete L;
}

BENCHMARK(BM_RegistrarPaso)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistrarBorrado)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrimeraInstantanea)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoriaPorPaso)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return ventix::bench::Principal(argc, argv);
}
