// The document on large circuits: read, write, check, building the
// simulation network, painting the whole sheet, a zoomed view and a view
// zoomed out over many texts, finding the element under the pointer, and the
// edits a user makes (finish a tube, drag an element, delete one with its
// tubes). Every cost must grow in step with the circuit.

#include "Generador.h"
#include "Principal.h"

#include "files/ArchivoAer.h"
#include "foundation/Archivo.h"
#include "sim/SimCircuito.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

using namespace ventix;
using namespace ventix::bench;
namespace fs = std::filesystem;

namespace {

// A canvas with the shipped catalogue. Canvases are left to the end of the
// program where tearing down is not what is measured.
TAerPaintBox* Lienzo() {
    auto* L = new TAerPaintBox;
    L->Libreria.Cargar(fs::u8path(VENTIX_CATALOGO));
    return L;
}

// One generated circuit per size, built once for every benchmark that reads it.
TAerPaintBox& Circuito(int Componentes) {
    static std::map<int, TAerPaintBox*> hechos;
    auto*& L = hechos[Componentes];
    if (!L) {
        L = Lienzo();
        Pulsadores(*L, Componentes);
    }
    return *L;
}

fs::path Archivo(int Componentes) {
    const fs::path ruta = fs::temp_directory_path() / ("ventix_bench_" + std::to_string(getpid()) +
                                                       "_" + std::to_string(Componentes) + ".aer");
    if (!fs::exists(ruta))
        ArchivoAer::GuardarLineas(ruta, ArchivoAer::Escribir(Circuito(Componentes)));
    return ruta;
}

std::size_t Monton() {
    return mallinfo2().uordblks;
}

void PorComponente(benchmark::State& State, int Componentes) {
    State.counters["componentes"] = Componentes;
    State.counters["por_componente"] = benchmark::Counter(
        Componentes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Read (Frio 0), or read with the caches emptied first (Frio 1).
void BM_Leer(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    const bool frio = State.range(1) != 0;
    const fs::path ruta = Archivo(n);
    double bytes = 0;
    for (auto _ : State) {
        State.PauseTiming();
        auto* L = Lienzo();
        const std::size_t antes = Monton();
        if (frio)
            Enfriar();
        State.ResumeTiming();
        ArchivoAer::Leer(*L, ArchivoAer::CargarLineas(ruta));
        State.PauseTiming();
        bytes = static_cast<double>(Monton() - antes);
        if (L->Componentes.Count() != n)
            State.SkipWithError("the circuit did not read back");
        delete L;
        State.ResumeTiming();
    }
    PorComponente(State, n);
    State.counters["bytes_por_componente"] = bytes / n;
}

// The reading `ventix-cli` does: from the file's bytes held whole
// (Bloques 0) or from the file read in blocks (Bloques 1), one line decoded
// at a time.
void BM_LeerCli(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    const bool bloques = State.range(1) != 0;
    const fs::path ruta = Archivo(n);
    for (auto _ : State) {
        State.PauseTiming();
        auto* L = Lienzo();
        State.ResumeTiming();
        if (bloques) {
            ArchivoAer::Leer(*L, TLineasArchivo(ruta));
        } else {
            const std::string bytes = LeerArchivo(ruta);
            ArchivoAer::Leer(*L, TLineasTexto(bytes));
        }
        State.PauseTiming();
        if (L->Componentes.Count() != n)
            State.SkipWithError("the circuit did not read back");
        delete L;
        State.ResumeTiming();
    }
    PorComponente(State, n);
}

void BM_Cerrar(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    const auto lineas = ArchivoAer::CargarLineas(Archivo(n));
    for (auto _ : State) {
        State.PauseTiming();
        auto* L = Lienzo();
        ArchivoAer::Leer(*L, lineas);
        State.ResumeTiming();
        L->BorrarCircuito();
        State.PauseTiming();
        delete L;
        State.ResumeTiming();
    }
    PorComponente(State, n);
}

void BM_Escribir(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    auto& L = Circuito(n);
    const fs::path ruta =
        fs::temp_directory_path() / ("ventix_bench_" + std::to_string(getpid()) + "_escrito.aer");
    for (auto _ : State)
        ArchivoAer::GuardarLineas(ruta, ArchivoAer::Escribir(L));
    fs::remove(ruta);
    PorComponente(State, n);
}

// The check (Frio 0), or the check with the caches emptied first (Frio 1).
void BM_Verificar(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    const bool frio = State.range(1) != 0;
    auto& L = Circuito(n);
    for (auto _ : State) {
        if (frio) {
            State.PauseTiming();
            Enfriar();
            State.ResumeTiming();
        }
        if (L.Verificar() != 0)
            State.SkipWithError("the generated circuit has errors");
    }
    PorComponente(State, n);
}

void BM_Red(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    auto& L = Circuito(n);
    if (L.Verificar() != 0)
        State.SkipWithError("the generated circuit has errors");
    for (auto _ : State) {
        auto s = std::make_unique<TSimCircuito>(L);
        State.PauseTiming();
        s.reset();
        State.ResumeTiming();
    }
    PorComponente(State, n);
}

// The editor's first look at a circuit: every switch on, fitted to the view.
void Vista(TAerPaintBox& L, int Ancho, int Alto) {
    L.Modo = mdEdicion;
    L.MostrarConexiones = L.MostrarVertices = L.MostrarTextos = L.MostrarTubosControl = true;
    L.MostrarEnclavamientos = true;
    L.SetCliente(Ancho, Alto);
    L.Activar();
    L.Paint();
    L.AjustarVista();
}

void BM_PintarTodo(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    auto& L = Circuito(n);
    Vista(L, 1200, 800);
    for (auto _ : State)
        L.Paint();
    PorComponente(State, n);
}

// Components whose bounds reach the view.
int EnVista(const TAerPaintBox& L) {
    const TCADLimites v = L.AreaVisible();
    int n = 0;
    for (int i = 0; i < L.Componentes.Count(); ++i) {
        const TCADRectF& b = L.Componentes.ItemComo<TAerComponente>(i)->Bounds;
        n +=
            b.X <= v.Right && b.X + b.Width >= v.Left && b.Y <= v.Top && b.Y + b.Height >= v.Bottom;
    }
    return n;
}

// The mix of tools/gen_circuito_grande.py (the nine examples and the cell,
// tiled; about 0.7 texts a component), read from the file it writes, fitted
// to a 1200 x 800 view and then zoomed in until about 1,500 components (and
// their texts) are on the screen: the editor on a large circuit, zoomed out.
// Of State's size; null, with the benchmark skipped, when the tool failed.
TAerPaintBox* Mezcla(benchmark::State& State) {
    const int Componentes = static_cast<int>(State.range(0));
    static std::map<int, TAerPaintBox*> hechos;
    auto*& L = hechos[Componentes];
    if (!L) {
        const fs::path ruta =
            fs::temp_directory_path() / ("ventix_bench_" + std::to_string(getpid()) + "_mezcla_" +
                                         std::to_string(Componentes) + ".aer");
        const std::string orden = "python3 '" VENTIX_RAIZ "/tools/gen_circuito_grande.py' " +
                                  std::to_string(Componentes) + " '" + ruta.string() + "'";
        if (std::system(orden.c_str()) != 0) {
            State.SkipWithError("tools/gen_circuito_grande.py did not run");
            return nullptr;
        }
        L = Lienzo();
        ArchivoAer::Leer(*L, ArchivoAer::CargarLineas(ruta));
        Vista(*L, 1200, 800);
        L->MostrarEstrellas = true;
        L->Paint();
        const TCADRectF e = L->Extension;
        while (EnVista(*L) > 1600) {
            L->SetZoom(L->Zoom * 1.05);
            L->Centrar(e.X + e.Width / 2, e.Y + e.Height / 2);
        }
        L->Paint();
    }
    return L;
}

void BM_PintarTextos(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    TAerPaintBox* M = Mezcla(State);
    if (!M)
        return;
    auto& L = *M;
    for (auto _ : State)
        L.Paint();
    PorComponente(State, n);
    State.counters["en_vista"] = EnVista(L);
    State.counters["textos"] = L.Textos.Count();
}

// Points to hit-test: the middle of components, of their first points and
// of texts' marks, and points of the view between them.
std::vector<TCADCoordenada> Puntos(TAerPaintBox& L) {
    std::vector<TCADCoordenada> r;
    const TCADLimites v = L.AreaVisible();
    std::uint32_t azar = 12345;
    auto siguiente = [&azar] { return (azar = azar * 1664525u + 1013904223u) >> 8; };
    auto centro = [&r](const TAerComponente* e) {
        const QPointF m = e->Region.Limites().center();
        r.push_back({m.x(), m.y()});
    };
    for (int k = 0; k < 64; ++k) {
        auto* c = static_cast<TAerComponente*>(
            L.Componentes.Item(static_cast<int>(siguiente() % L.Componentes.Count())));
        centro(c);
        centro(c->Elementos.Count() ? c->Elemento(0) : c);
        centro(static_cast<TAerComponente*>(
            L.Textos.Item(static_cast<int>(siguiente() % L.Textos.Count()))));
        r.push_back({v.Left + (v.Right - v.Left) * (siguiente() % 1000) / 1000.0,
                     v.Bottom + (v.Top - v.Bottom) * (siguiente() % 1000) / 1000.0});
    }
    return r;
}

// The element under the pointer (what hovering and every click ask), with
// every area already posed and filed.
void BM_ElementoEn(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    TAerPaintBox* M = Mezcla(State);
    if (!M)
        return;
    auto& L = *M;
    L.ActualizarGeometria();
    const std::vector<TCADCoordenada> puntos = Puntos(L);
    L.ElementoEn(puntos[0]);
    std::size_t k = 0, acertados = 0;
    for (auto _ : State) {
        acertados += L.ElementoEn(puntos[k++ % puntos.size()]) != nullptr;
    }
    PorComponente(State, n);
    State.counters["acertados"] =
        static_cast<double>(acertados) / static_cast<double>(std::max<std::size_t>(k, 1));
}

// A pointer move after a repaint: the hit test then also files the areas the
// repaint posed.
void BM_ElementoEnTrasPintar(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    TAerPaintBox* M = Mezcla(State);
    if (!M)
        return;
    auto& L = *M;
    const std::vector<TCADCoordenada> puntos = Puntos(L);
    std::size_t k = 0;
    for (auto _ : State) {
        State.PauseTiming();
        L.Paint();
        State.ResumeTiming();
        benchmark::DoNotOptimize(L.ElementoEn(puntos[k++ % puntos.size()]));
    }
    PorComponente(State, n);
}

// Zoom 4 on the middle of the sheet.
void Acercar(TAerPaintBox& L, int Ancho, int Alto) {
    Vista(L, Ancho, Alto);
    L.Paint();
    L.SetZoom(4);
    const TCADRectF e = L.Extension;
    L.Centrar(e.X + e.Width / 2, e.Y + e.Height / 2);
}

void BM_PintarZoom(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    auto& L = Circuito(n);
    Acercar(L, 600, 400);
    for (auto _ : State)
        L.Paint();
    PorComponente(State, n);
}

// The cell nearest the middle of the sheet, by its valve.
int CeldaCentral(int Componentes) {
    const int celdas = Componentes / 4;
    return std::min(celdas - 1, (celdas / 50 / 2) * 50 + 25);
}

// Finishing a tube: the valve's output tube of one cell taken away (not
// measured), then drawn again as the editor does.
void BM_CompletarTubo(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    TAerPaintBox* L = Lienzo();
    Pulsadores(*L, n);
    Acercar(*L, 1200, 800);
    const int k = CeldaCentral(n);
    auto* v = static_cast<TAerComponente*>(L->Componentes.Item(4 * k + 1));
    auto* c = static_cast<TAerComponente*>(L->Componentes.Item(4 * k + 3));
    for (auto _ : State) {
        State.PauseTiming();
        delete v->Conexion(2)->Tubo;
        State.ResumeTiming();
        Unir(*L, v, 2, c, 0);
        L->MarcarTubosControl(); // the editor recomputes once more after a tube
        L->Paint();
    }
    PorComponente(State, n);
}

// Dragging an element one step, with the repaint of the view that follows.
void BM_Mover(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    TAerPaintBox* L = Lienzo();
    Pulsadores(*L, n);
    Acercar(*L, 1200, 800);
    L->Paint();
    auto* v = static_cast<TAerComponente*>(L->Componentes.Item(4 * CeldaCentral(n) + 1));
    // The pixel over the middle of the valve's body.
    const QPointF centro = v->Region.Limites().center();
    const QPoint p(TCADPaintBox::Redondear(centro.x() * L->Zoom + L->OffsetX),
                   TCADPaintBox::Redondear(L->OffsetY - centro.y() * L->Zoom));
    L->MouseDown(Qt::LeftButton, Qt::NoModifier, p.x(), p.y());
    if (L->Seleccionado != v)
        State.SkipWithError("the valve was not picked");
    int paso = 0;
    for (auto _ : State) {
        const int d = (paso++ % 2) ? 0 : 8;
        L->MouseMove(Qt::NoModifier, p.x() + d, p.y());
        L->Paint();
    }
    L->MouseUp(Qt::LeftButton, Qt::NoModifier, p.x(), p.y());
    PorComponente(State, n);
}

// Deleting a valve with its three tubes; built again, not measured.
void BM_Borrar(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    TAerPaintBox* L = Lienzo();
    Pulsadores(*L, n);
    Acercar(*L, 1200, 800);
    const int k = CeldaCentral(n);
    auto* f = static_cast<TAerComponente*>(L->Componentes.Item(4 * k));
    auto* e = static_cast<TAerComponente*>(L->Componentes.Item(4 * k + 2));
    auto* c = static_cast<TAerComponente*>(L->Componentes.Item(4 * k + 3));
    auto* v = static_cast<TAerComponente*>(L->Componentes.Item(4 * k + 1));
    for (auto _ : State) {
        L->Seleccionar(v);
        L->BorrarSeleccion();
        L->Paint();
        State.PauseTiming();
        v = TAerValvula::Crear(*L, true, TActuador::Seta, T::Valvula32NC);
        v->X = f->X - 3;
        v->Y = f->Y + 31;
        Unir(*L, f, 0, v, 0);
        Unir(*L, v, 1, e, 0);
        Unir(*L, v, 2, c, 0);
        State.ResumeTiming();
    }
    PorComponente(State, n);
}

void Tamanos(benchmark::internal::Benchmark* B) {
    for (int n : {100, 1000, 10000, 100000})
        B->Arg(n);
    B->Unit(benchmark::kMillisecond);
}

// Sizes, then whether the caches are emptied before each repetition (a
// fixed count of them: emptying the caches takes longer than the smaller
// operations).
void TamanosEnCaliente(benchmark::internal::Benchmark* B) {
    B->ArgsProduct({{100, 1000, 10000, 100000}, {0}})
        ->ArgNames({"", "frio"})
        ->Unit(benchmark::kMillisecond);
}
void TamanosEnFrio(benchmark::internal::Benchmark* B) {
    B->ArgsProduct({{1000, 10000, 100000}, {1}})
        ->ArgNames({"", "frio"})
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Leer)->Apply(TamanosEnCaliente);
BENCHMARK(BM_Leer)->Apply(TamanosEnFrio);
BENCHMARK(BM_LeerCli)
    ->ArgsProduct({{1000, 10000}, {0, 1}})
    ->ArgNames({"", "bloques"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cerrar)->Apply(Tamanos);
BENCHMARK(BM_Escribir)->Apply(Tamanos);
BENCHMARK(BM_Verificar)->Apply(TamanosEnCaliente);
BENCHMARK(BM_Verificar)->Apply(TamanosEnFrio)->Iterations(100);
BENCHMARK(BM_Red)->Apply(Tamanos);
BENCHMARK(BM_PintarTodo)->Apply(Tamanos);
BENCHMARK(BM_PintarZoom)->Apply(Tamanos);
BENCHMARK(BM_PintarTextos)->Apply(Tamanos);
BENCHMARK(BM_ElementoEn)->Apply(Tamanos)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ElementoEnTrasPintar)
    ->Apply(Tamanos)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(40); // each with a repaint, not measured
BENCHMARK(BM_CompletarTubo)->Apply(Tamanos);
BENCHMARK(BM_Mover)->Apply(Tamanos);
BENCHMARK(BM_Borrar)->Apply(Tamanos);

} // namespace

int main(int argc, char** argv) {
    const int r = ventix::bench::Principal(argc, argv);
    std::error_code e;
    for (const auto& f : fs::directory_iterator(fs::temp_directory_path(), e))
        if (f.path().filename().string().rfind("ventix_bench_" + std::to_string(getpid()), 0) == 0)
            fs::remove(f.path(), e);
    return r;
}
