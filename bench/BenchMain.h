// The main of benchmarks that measure or draw text: the platform's fonts
// need a GUI application, on the offscreen platform so no display is used.

#pragma once

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#define DENDRIX_GUI_BENCHMARK_MAIN()                                                                         \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                             \
        QGuiApplication app(argc, argv);                                                                     \
        benchmark::Initialize(&argc, argv);                                                                  \
        benchmark::RunSpecifiedBenchmarks();                                                                 \
        benchmark::Shutdown();                                                                               \
        return 0;                                                                                            \
    }
