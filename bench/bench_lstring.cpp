#include "corekit/lstring.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace corekit;

namespace
{

// Replacing in a large page (as the reader does with HTML entities) must stay linear.
void substituteMegabyte(benchmark::State &state)
{
    std::string text;
    while (text.size() < 1024 * 1024)
        text += "Rain &amp; snow likely. Highs in the mid 30s.&nbsp;";
    for (auto _ : state) {
        LString page(text.c_str());
        benchmark::DoNotOptimize(page.substitute("&amp;", "&"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(substituteMegabyte)->Unit(benchmark::kMillisecond);

// The readers gather a long text line by line.
void appendTwentyThousandLines(benchmark::State &state)
{
    for (auto _ : state) {
        LString text;
        for (int i = 0; i < 20000; ++i)
            text += "RAIN AND SNOW LIKELY. HIGHS IN THE MID 30S. NORTH WINDS 10 TO 15 MPH.\r\n";
        benchmark::DoNotOptimize(text.length());
    }
}
BENCHMARK(appendTwentyThousandLines)->Unit(benchmark::kMillisecond);

void splitGroups(benchmark::State &state)
{
    const LString report("KJFK 121851Z 24015G25KT 10SM FEW050 SCT250 29/17 A2990 RMK AO2 SLP125 T02890167");
    for (auto _ : state) {
        LString before;
        LString after;
        report.split(" ", before, after);
        benchmark::DoNotOptimize(after);
    }
}
BENCHMARK(splitGroups);

} // namespace
