#pragma once

// The main of the benchmark programs: Qt's offscreen platform unless one was
// chosen, an application (symbol texts need fonts), then the benchmarks.

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace ventix::bench {

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
