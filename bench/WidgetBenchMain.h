// The main of benchmarks that need widgets (scroll bars, dialogs): a
// widget application on the offscreen platform, so no display is used.

#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#define DENDRIX_WIDGET_BENCHMARK_MAIN()                                                                      \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                             \
        QApplication app(argc, argv);                                                                        \
        benchmark::Initialize(&argc, argv);                                                                  \
        benchmark::RunSpecifiedBenchmarks();                                                                 \
        benchmark::Shutdown();                                                                               \
        return 0;                                                                                            \
    }
