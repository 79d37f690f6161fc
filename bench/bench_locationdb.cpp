#include "meteo/location/wlocationdb.h"

#include "bench/heapcounter.h"
#include "corekit/lstream.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>

using namespace corekit;
using namespace meteo;

namespace
{

// The shipped database, surveyed once.
struct Database {
    std::filesystem::path directory = std::filesystem::path(NIMBREL_SOURCE_DIR) / "data";
    std::uint32_t largestState = 0;
    std::uint32_t largestCount = 0;
    std::uint32_t lastCity = 0;
    std::uint32_t lastCityState = 0;

    Database() { survey(); }

    // Finds the state with the most cities and the last city of the file.
    void survey()
    {
        LIStream in((directory / "cities.ldt").c_str());
        std::map<std::uint32_t, std::uint32_t> counts;
        while (in.good() && !in.eof()) {
            std::uint32_t country = 0;
            LString name;
            LString data;
            in >> lastCity >> country >> lastCityState >> name >> data;
            if (++counts[lastCityState] > largestCount) {
                largestCount = counts[lastCityState];
                largestState = lastCityState;
            }
        }
    }
};

const Database &database()
{
    static const Database db;
    return db;
}

void cityListOfLargestState(benchmark::State &state)
{
    const Database &data = database();
    const WLocationDB db(data.directory.c_str());
    for (auto _ : state) {
        LVector<WCity> list;
        if (db.getCityList(1, data.largestState, list) != 0 || list.size() != data.largestCount)
            state.SkipWithError("getCityList failed");
    }
    state.counters["cities"] = data.largestCount;
}
BENCHMARK(cityListOfLargestState)->Unit(benchmark::kMillisecond);

// What the location dialog does when it opens: every state, then every city of the chosen state.
void dialogPass(benchmark::State &state)
{
    const Database &data = database();
    WLocationDB db(data.directory.c_str());
    for (auto _ : state) {
        std::uint32_t count = 0;
        WState record;
        db.initStateIterator(1);
        while (db.getNextState(record) == 0)
            ++count;
        db.closeStateIterator();
        WCity city;
        db.initCityIterator(1, data.largestState);
        while (db.getNextCity(city) == 0)
            ++count;
        db.closeCityIterator();
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(dialogPass)->Unit(benchmark::kMillisecond);

void makeUSLocationOfLastCity(benchmark::State &state)
{
    const Database &data = database();
    const WLocationDB db(data.directory.c_str());
    for (auto _ : state) {
        WLocation location;
        if (db.makeUSLocation(data.lastCityState, data.lastCity, location) != 0)
            state.SkipWithError("makeUSLocation failed");
    }
}
BENCHMARK(makeUSLocationOfLastCity)->Unit(benchmark::kMillisecond);

// The most heap in use at once during a list query.
void cityListPeakHeap(benchmark::State &state)
{
    const Database &data = database();
    const WLocationDB db(data.directory.c_str());
    std::size_t peak = 0;
    for (auto _ : state) {
        heapcounter::start();
        {
            LVector<WCity> list;
            db.getCityList(1, data.largestState, list);
        }
        peak = std::max(peak, heapcounter::stop().peak);
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
}
BENCHMARK(cityListPeakHeap)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
