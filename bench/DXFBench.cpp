// Loading large DXF drawings: reading must stay linear in the file size, so a
// 10 MB drawing loads in a fraction of a second.

#include "cad/DXF.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

void Par(std::string& S, const char* Codigo, const std::string& Valor) {
    S += Codigo;
    S += "\r\n";
    S += Valor;
    S += "\r\n";
}

// A drawing of about Bytes bytes: 50 layers and a mix of every entity kind
// the reader builds, with handles and subclass markers as CAD programs write.
std::string Dibujo(std::size_t Bytes) {
    std::string s;
    s.reserve(Bytes + 4096);
    Par(s, "  0", "SECTION");
    Par(s, "  2", "TABLES");
    Par(s, "  0", "TABLE");
    Par(s, "  2", "LAYER");
    for (int c = 0; c < 50; ++c) {
        Par(s, "  0", "LAYER");
        Par(s, "  2", "Capa" + std::to_string(c));
        Par(s, " 62", std::to_string(c % 7 + 1));
        Par(s, "370", "25");
    }
    Par(s, "  0", "ENDTAB");
    Par(s, "  0", "ENDSEC");
    Par(s, "  0", "SECTION");
    Par(s, "  2", "ENTITIES");
    for (int n = 0; s.size() < Bytes; ++n) {
        const std::string capa = "Capa" + std::to_string(n % 50);
        const std::string x = std::to_string(n % 1000) + ".125";
        const std::string y = std::to_string(n % 777) + ".5";
        const auto comunes = [&](const char* Tipo, const char* SubClase) {
            Par(s, "  0", Tipo);
            Par(s, "  5", std::to_string(n + 0x100));
            Par(s, "330", "1F");
            Par(s, "100", "AcDbEntity");
            Par(s, "  8", capa);
            Par(s, "100", SubClase);
        };
        switch (n % 5) {
        case 0:
            comunes("LINE", "AcDbLine");
            Par(s, " 10", x);
            Par(s, " 20", y);
            Par(s, " 11", y);
            Par(s, " 21", x);
            break;
        case 1:
            comunes("ARC", "AcDbCircle");
            Par(s, " 10", x);
            Par(s, " 20", y);
            Par(s, " 40", "2.5");
            Par(s, "100", "AcDbArc");
            Par(s, " 50", "350");
            Par(s, " 51", "10");
            break;
        case 2:
            comunes("LWPOLYLINE", "AcDbPolyline");
            Par(s, " 90", "40");
            Par(s, " 70", "1");
            for (int v = 0; v < 40; ++v) {
                Par(s, " 10", std::to_string(v) + ".25");
                Par(s, " 20", y);
            }
            break;
        case 3:
            comunes("MTEXT", "AcDbMText");
            Par(s, " 10", x);
            Par(s, " 20", y);
            Par(s, " 40", "2.5");
            Par(s, " 71", "5");
            Par(s, "  1", "Cilindro de\\Pdoble efecto");
            break;
        default:
            comunes("POLYLINE", "AcDb3dPolyline");
            Par(s, " 66", "1");
            Par(s, " 70", "8");
            for (int v = 0; v < 10; ++v) {
                Par(s, "  0", "VERTEX");
                Par(s, "  8", capa);
                Par(s, " 10", std::to_string(v));
                Par(s, " 20", y);
                Par(s, " 70", "32");
            }
            Par(s, "  0", "SEQEND");
            Par(s, "  8", capa);
        }
    }
    Par(s, "  0", "ENDSEC");
    Par(s, "  0", "EOF");
    return s;
}

void BM_CargarYLeer(benchmark::State& State) {
    const auto bytes = static_cast<std::size_t>(State.range(0));
    const auto ruta =
        std::filesystem::temp_directory_path() / ("ventix_bench_" + std::to_string(bytes) + ".dxf");
    const std::string texto = Dibujo(bytes);
    std::ofstream(ruta, std::ios::binary) << texto;
    for (auto _ : State) {
        ventix::TDXF dxf;
        dxf.Cargar(ruta.string());
        dxf.Leer();
        benchmark::DoNotOptimize(dxf.Capas.Count());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * texto.size()));
    State.SetComplexityN(static_cast<std::int64_t>(texto.size()));
    std::filesystem::remove(ruta);
}
BENCHMARK(BM_CargarYLeer)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// One polyline of N vertices: adding, bounding and freeing its points must
// not walk all of them once per vertex.
void BM_PolilineaGrande(benchmark::State& State) {
    const int n = static_cast<int>(State.range(0));
    std::vector<std::string> lineas;
    for (const char* l : {"0", "SECTION", "2", "TABLES",   "0", "TABLE",      "2", "LAYER",
                          "0", "LAYER",   "2", "A",        "0", "ENDTAB",     "0", "ENDSEC",
                          "0", "SECTION", "2", "ENTITIES", "0", "LWPOLYLINE", "8", "A"})
        lineas.emplace_back(l);
    for (int v = 0; v < n; ++v) {
        lineas.emplace_back("10");
        lineas.push_back(std::to_string(v));
        lineas.emplace_back("20");
        lineas.emplace_back("1.5");
    }
    for (const char* l : {"0", "ENDSEC", "0", "EOF"})
        lineas.emplace_back(l);
    for (auto _ : State) {
        ventix::TDXF dxf;
        dxf.Lineas = lineas;
        dxf.Leer();
        benchmark::DoNotOptimize(dxf.Capas.Count());
    }
    State.SetComplexityN(n);
}
BENCHMARK(BM_PolilineaGrande)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
