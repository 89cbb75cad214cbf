// Entry of the benchmark runner: an application object for the pixmap
// based checks, then Google Benchmark.

#include "algorithms/openmpwaiting.h"
#include "platform/imagebuffers.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    // Measured as the program runs.
    restartWithPassiveOpenMpWaiting(argv);
    // As the program starts, so the checks meet the heap they meet there.
    platform::keepImageBuffers();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The scan is timed on SANE's test backend; the scanner process finds
    // its configuration here.
    if (qEnvironmentVariableIsEmpty("SANE_CONFIG_DIR"))
        qputenv("SANE_CONFIG_DIR", TOLLIVAR_SANE_TEST_CONFIG);
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
