#include "model/infra/logger.h"

#include <benchmark/benchmark.h>

#include <cstdio>

// One flushed record: the algorithms write one per caught exception, the
// intake one per page, so this only has to stay far below a millisecond.
static void BM_FileLoggerRecord(benchmark::State& state)
{
    const char* path = "bench-logger.log";
    {
        FileLogger logger(path);
        for (auto _ : state)
            logger(LogInfo) << "checkImages: page " << 3 << " of " << 8;
    }
    std::remove(path);
}
BENCHMARK(BM_FileLoggerRecord);
