#pragma once

// The main of the benchmark programs: Qt's offscreen platform unless one was
// chosen, an application (symbol texts need fonts), then the benchmarks.

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

namespace ventix::bench {

// Leaves the processor's caches holding nothing of the program's data, by
// writing over a buffer four times the largest of them (32 MB here). A
// benchmark loop that repeats one operation finds what the last repetition
// left in the caches, which a document of 10,000 components fits and one of
// 100,000 does not; in the program the operation comes once, after a repaint
// or a user's action has gone over other data. The "cold" benchmarks call
// this, untimed, before each repetition, so that every size is measured as
// the program meets it.
inline void Enfriar() {
    static std::vector<unsigned char> relleno(std::size_t{128} << 20);
    for (std::size_t i = 0; i < relleno.size(); i += 64)
        ++relleno[i];
    benchmark::ClobberMemory();
}

inline int Principal(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace ventix::bench
