#include "meteo/location/wplacesearch.h"

#include "bench/heapcounter.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace meteo;

namespace
{

const std::string DATA = std::string(NIMBREL_SOURCE_DIR) + "/data";

const WPlaceSearch &warmSearch()
{
    static WPlaceSearch search;
    if (!search.isLoaded())
        search.load(DATA);
    return search;
}

// The first search of a session: reading the files into the index, then one name.
void firstSearch(benchmark::State &state)
{
    for (auto _ : state) {
        WPlaceSearch search;
        if (search.load(DATA) != 0)
            state.SkipWithError(search.getError().c_str());
        benchmark::DoNotOptimize(search.find("des moines"));
    }
}
BENCHMARK(firstSearch)->Unit(benchmark::kMillisecond);

// One keystroke once the index is read, for each kind of query; a single letter fits the most names.
void keystroke(benchmark::State &state, const char *query)
{
    const WPlaceSearch &search = warmSearch();
    for (auto _ : state)
        benchmark::DoNotOptimize(search.find(query));
}
BENCHMARK_CAPTURE(keystroke, oneLetter, "s")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(keystroke, nameWithState, "des moines iowa")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(keystroke, nameAfterComma, "springfield, il")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(keystroke, nothingFits, "xqzzqx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(keystroke, zipCode, "50309")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(keystroke, station, "KDSM")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(keystroke, coordinates, "41.5868, -93.6250")->Unit(benchmark::kMillisecond);

// The heap the index keeps once read, and the most it takes while reading.
void indexMemory(benchmark::State &state)
{
    heapcounter::Figures figures;
    for (auto _ : state) {
        auto *search = new WPlaceSearch;
        heapcounter::start();
        search->load(DATA);
        figures = heapcounter::stop();
        delete search;
    }
    state.counters["kept_MB"] = static_cast<double>(figures.inUse) / 1e6;
    state.counters["peak_MB"] = static_cast<double>(figures.peak) / 1e6;
}
BENCHMARK(indexMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
