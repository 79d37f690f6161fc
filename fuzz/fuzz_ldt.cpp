// Feeds arbitrary bytes to the location database as all four of its files and runs every kind of query on them.
// Besides the sanitizers' checks (and libFuzzer's for hangs and leaks), the queries must agree with each other:
// a city the iteration delivered is found by its id, and a list that succeeds holds what the iteration delivered.
#include "meteo/location/wlocationdb.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

// The directory of the files, for the whole run.
struct Scratch {
    std::string directory;

    Scratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "nimbrel-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        directory = pattern;
    }
    ~Scratch() { std::filesystem::remove_all(directory); }
};

void writeFile(const std::string &path, const std::uint8_t *data, std::size_t size)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
}

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::vector<WCity> iterateCities(WLocationDB &db, std::uint32_t stateId)
{
    std::vector<WCity> cities;
    WCity city;
    if (db.initCityIterator(1, stateId) == 0) {
        while (db.getNextCity(city) == 0)
            cities.push_back(city);
    }
    db.closeCityIterator();
    return cities;
}

// The id of the first state record (Illinois when there is none), after walking the whole iteration, and the
// state list agreeing with it.
std::uint32_t firstState(WLocationDB &db)
{
    std::vector<WState> iterated;
    WState state;
    if (db.initStateIterator(1) == 0) {
        while (db.getNextState(state) == 0)
            iterated.push_back(state);
    }
    db.closeStateIterator();
    LVector<WState> list;
    if (db.getStateList(1, list) == 0) {
        std::uint32_t matched = 0;
        for (const WState &each : iterated) {
            if (each.getCountryId() == 1)
                check(matched < list.size() && list[matched++].getId() == each.getId());
        }
        check(matched == list.size());
    }
    return iterated.empty() ? 17 : iterated[0].getId();
}

void checkCities(WLocationDB &db, std::uint32_t stateId)
{
    const std::vector<WCity> iterated = iterateCities(db, stateId);
    LVector<WCity> list;
    if (db.getCityList(1, stateId, list) == 0) {
        std::uint32_t matched = 0;
        for (const WCity &city : iterated) {
            if (city.getCountryId() == 1)
                check(matched < list.size() && std::strcmp(list[matched++].getName(), city.getName()) == 0);
        }
        check(matched == list.size());
    }
    if (iterated.empty())
        return;
    WCity found;
    check(db.getCity(iterated[0].getId(), found) == 0 && found.getId() == iterated[0].getId());
    WLocation location;
    WState state;
    const int made = db.makeUSLocation(stateId, found.getId(), location);
    check(made == db.getState(stateId, state));
    check(made != 0 || (location.isValid() && location.getCity() == found.getId()));
    LString code;
    location.getCityData(WLocation::STATION_KEY, code);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const Scratch scratch;
    for (const char *name : {"countries.ldt", "states.ldt", "areas.ldt", "cities.ldt"})
        writeFile(scratch.directory + "/" + name, data, size);
    WLocationDB db(scratch.directory.c_str());
    const std::uint32_t stateId = firstState(db);
    checkCities(db, stateId);
    LVector<WCountry> countries;
    db.getCountryList(countries);
    LVector<WArea> areas;
    db.getAreaList(1, stateId, areas);
    WArea area;
    db.getArea(stateId, area);
    return 0;
}
