// One full simulation step (propagation to a fixed point, then one advance)
// on generated circuits of 10 to 100,000 components. The cost of a pass must
// grow linearly with the circuit.

#include "Generador.h"
#include "Principal.h"

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "sim/SimCircuito.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

using namespace ventix;
using T = TTipoComponente;

namespace {

TAerTubo* Unir(TAerPaintBox& L, TAerComponente* De, int I, TAerComponente* A, int J) {
    auto* t = TAerTubo::Crear(L);
    t->SetInicio(De->Conexion(I));
    // The vertex before the end: a finished tube recomputes every control
    // tube of the circuit, which would make building quadratic.
    t->AnadirVertice({0, 0});
    t->SetFin(A->Conexion(J));
    return t;
}

// Self-oscillating cells of seven components where every cylinder moves at
// every step: the generator's, shared with the other benchmarks.
void Celdas(TAerPaintBox& L, int Componentes) {
    bench::Vaivenes(L, Componentes);
}

// A cascade of four-component links listed along the flow: a supply line of
// T connectors, and pilot 3/2 valves each driving a cylinder and the next
// valve's pilot. One hand valve starts it; the signal moves one link per step.
void Cadena(TAerPaintBox& L, int Componentes) {
    auto* f = TAerComponente::Crear(L, T::Presion);
    auto* linea = TAerComponente::Crear(L, T::ConectorT);
    Unir(L, f, 0, linea, 0);
    TAerComponente* mando = TAerValvula::Crear(L, true, TActuador::Seta, T::Valvula32NC);
    Unir(L, linea, 1, mando, 0);
    for (int i = 0; i < (Componentes - 3) / 4; ++i) {
        auto* siguiente = TAerComponente::Crear(L, T::ConectorT);
        auto* v = TAerValvula::Crear(L, true, TActuador::Pilotado, T::Valvula32NC);
        auto* reparto = TAerComponente::Crear(L, T::ConectorT);
        auto* c = TAerComponente::Crear(L, T::CilindroSimple);
        Unir(L, linea, 2, siguiente, 0);
        Unir(L, siguiente, 1, v, 0);
        Unir(L, mando, 2, reparto, 0);
        Unir(L, reparto, 1, v, 3);
        Unir(L, reparto, 2, c, 0);
        linea = siguiente;
        mando = v;
    }
    // The last link's supply and signal end in cylinders.
    Unir(L, linea, 2, TAerComponente::Crear(L, T::CilindroSimple), 0);
    Unir(L, mando, 2, TAerComponente::Crear(L, T::CilindroSimple), 0);
}

int Puertos(const TSimCircuito& S) {
    int n = 0;
    for (int i = 0; i < S.NumNodos; ++i) {
        const TSimC* nodo = S.Nodo(i);
        n += nodo->NumEntradas + nodo->NumSalidas + nodo->NumPilotos;
    }
    return n;
}

template <void (*Generar)(TAerPaintBox&, int)> void PasoCompleto(benchmark::State& State) {
    // The canvas is left to the end of the program: tearing down a large
    // document one element at a time is not what is measured here.
    auto* L = new TAerPaintBox;
    L->Libreria.Cargar(std::filesystem::u8path(VENTIX_CATALOGO));
    Generar(*L, static_cast<int>(State.range(0)));
    if (L->Verificar() != 0)
        State.SkipWithError("the generated circuit has errors");
    auto s = std::make_unique<TSimCircuito>(*L);
    // The step alone: the recording's cost is bench_registro's.
    s->Registro.reset();
    L->Modo = mdParado;
    if (s->NumBotones() > 0)
        s->Pulsar(0);
    s->Restablecer();

    const bool frio = State.range(1) != 0;
    long long pasadas = 0;
    long long pasos = 0;
    for (auto _ : State) {
        if (frio) {
            State.PauseTiming();
            bench::Enfriar();
            State.ResumeTiming();
        }
        s->Propagar();
        pasadas += s->Pasadas;
        s->Avanzar();
        ++pasos;
    }
    const double puertos = Puertos(*s);
    State.counters["componentes"] = s->NumNodos;
    State.counters["puertos"] = puertos;
    State.counters["tubos"] = L->Tubos.Count();
    State.counters["pasadas"] = static_cast<double>(pasadas) / static_cast<double>(pasos);
    State.counters["por_puerto"] = benchmark::Counter(
        puertos, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    State.counters["por_pasada_y_puerto"] = benchmark::Counter(
        static_cast<double>(pasadas) * puertos / static_cast<double>(pasos),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    s.reset();
}

void BM_PasoCeldas(benchmark::State& State) {
    PasoCompleto<Celdas>(State);
}
void BM_PasoCadena(benchmark::State& State) {
    PasoCompleto<Cadena>(State);
}

// Sizes, then whether the caches are emptied before each step, as between
// two ticks of a run in the editor, where a repaint goes over the document.
BENCHMARK(BM_PasoCeldas)
    ->ArgsProduct({{10, 100, 1000, 10000, 100000}, {0}})
    ->ArgNames({"", "frio"})
    ->Unit(benchmark::kMicrosecond);
// Emptying the caches takes far longer than a small step: a fixed count.
BENCHMARK(BM_PasoCeldas)
    ->ArgsProduct({{1000, 10000, 100000}, {1}})
    ->ArgNames({"", "frio"})
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PasoCadena)
    ->ArgsProduct({{10, 100, 1000, 10000}, {0}})
    ->ArgNames({"", "frio"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return ventix::bench::Principal(argc, argv);
}
