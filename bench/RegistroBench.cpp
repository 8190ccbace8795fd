// The recording of a run: memory grows linearly with steps x recorded
// elements, and 10,000 steps of a 100-component circuit stay under 20 MB.

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "sim/Registro.h"
#include "sim/SimCircuito.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

using namespace ventix;
using T = TTipoComponente;

namespace {

void Unir(TAerPaintBox& L, TAerComponente* De, int I, TAerComponente* A, int J) {
    auto* t = TAerTubo::Crear(L);
    t->SetInicio(De->Conexion(I));
    t->AnadirVertice({0, 0});
    t->SetFin(A->Conexion(J));
}

// Cells of seven components that move at every step: a source, two T
// connectors, a pilot 5/2 valve, a double-acting cylinder and the two roller
// valves it works at the ends of its stroke.
void Celdas(TAerPaintBox& L, int Componentes) {
    for (int i = 0; i < Componentes / 7; ++i) {
        auto* f = TAerComponente::Crear(L, T::Presion);
        auto* t1 = TAerComponente::Crear(L, T::ConectorT);
        auto* t2 = TAerComponente::Crear(L, T::ConectorT);
        auto* v = TAerValvula::Crear(L, false, TActuador::Pilotado, T::Valvula52);
        auto* c = TAerComponente::Crear(L, T::CilindroDoble);
        auto* a0 = TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NC);
        auto* a1 = TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NC);
        a0->SetCilindro(c);
        a1->SetCilindro(c);
        a0->Valor = 0.0;
        a1->Valor = 1.0;
        Unir(L, f, 0, t1, 0);
        Unir(L, t1, 1, v, 1);
        Unir(L, t1, 2, t2, 0);
        Unir(L, t2, 1, a0, 0);
        Unir(L, t2, 2, a1, 0);
        Unir(L, v, 3, c, 0);
        Unir(L, v, 4, c, 1);
        Unir(L, a0, 2, v, 5);
        Unir(L, a1, 2, v, 6);
    }
}

// One iteration: a reset and range(1) full steps of a circuit of range(0)
// components, recorded.
void BM_Registro(benchmark::State& State) {
    TAerPaintBox L;
    L.Libreria.Cargar(std::filesystem::u8path(VENTIX_CATALOGO));
    Celdas(L, static_cast<int>(State.range(0)));
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
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
