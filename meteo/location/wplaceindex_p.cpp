#include "meteo/location/wplaceindex_p.h"

#include "corekit/lex.h"
#include "corekit/lstream.h"
#include "meteo/base/wlocation.h"
#include "meteo/base/wlocationfile.h"
#include "meteo/base/wrecords.h"
#include "meteo/location/wplacetext_p.h"
#include "meteo/location/wrawrecord_p.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <new>

using namespace corekit;

namespace meteo
{

namespace
{

// Reads every record of a file, handing each to take; false when the file is missing, empty or damaged (see
// readRecord). States have two ids before their texts; cities, ZIP codes and stations three.
template<typename Take>
bool readFile(const std::string &path, int ids, Take take)
{
    LIStream in(path.c_str());
    if (in.bad())
        return false;
    RawRecord record{};
    do {
        if (!readRecord(in, ids, record))
            return false;
        take(record);
    } while (!in.eof());
    return true;
}

// A number of a token; 0 where there is none.
template<typename T>
T number(const std::string &text)
{
    T value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

double degrees(const std::string &text)
{
    return number<double>(text);
}

WIndexedCity indexedCity(const RawRecord &record, std::uint32_t state)
{
    WIndexedCity city;
    city.id = record.ids[0];
    city.stateId = record.ids[2];
    city.state = state;
    city.name = static_cast<const char *>(WCity(city.id, 1, city.stateId, record.name, record.data).getListName());
    city.foldedName = foldPlaceText(record.name);
    city.station = placeToken(record.data, WLocation::STATION_KEY);
    city.zone = placeToken(record.data, WLocation::ZONE_KEY);
    city.latitude = degrees(placeToken(record.data, WLocation::LATITUDE_KEY));
    city.longitude = degrees(placeToken(record.data, WLocation::LONGITUDE_KEY));
    return city;
}

bool readStates(const std::string &base, WPlaceIndex &index)
{
    return readFile(base + "states.ldt", 2, [&index](const RawRecord &record) {
        index.states.push_back({record.ids[0], record.name, foldPlaceText(record.name), record.data});
    });
}

// Cities of a state the state file does not list cannot be shown with their state, and are left out.
bool readCities(const std::string &base, WPlaceIndex &index)
{
    std::map<std::uint32_t, std::uint32_t> stateIndex;
    for (std::uint32_t i = 0; i < index.states.size(); ++i)
        stateIndex.emplace(index.states[i].id, i);
    return readFile(base + "cities.ldt", 3, [&index, &stateIndex](const RawRecord &record) {
        const auto state = stateIndex.find(record.ids[2]);
        if (state != stateIndex.end())
            index.cities.push_back(indexedCity(record, state->second));
    });
}

// A ZIP code whose city is not listed is left out.
bool readZipCodes(const std::string &base, WPlaceIndex &index)
{
    std::map<std::uint32_t, std::uint32_t> cityIndex;
    for (std::uint32_t i = 0; i < index.cities.size(); ++i)
        cityIndex.emplace(index.cities[i].id, i);
    const bool read = readFile(base + "zipcodes.ldt", 3, [&index, &cityIndex](const RawRecord &record) {
        const auto found = cityIndex.find(number<std::uint32_t>(placeToken(record.data, "acity")));
        if (found != cityIndex.end())
            index.zipCodes.push_back({record.ids[0], found->second, number<float>(placeToken(record.data, "adist"))});
    });
    std::sort(index.zipCodes.begin(), index.zipCodes.end(),
        [](const WIndexedZip &a, const WIndexedZip &b) { return a.code < b.code; });
    return read;
}

bool readStations(const std::string &base, WPlaceIndex &index)
{
    const bool read = readFile(base + "stations.ldt", 3, [&index](const RawRecord &record) {
        index.stations.push_back({record.name, degrees(placeToken(record.data, WLocation::LATITUDE_KEY)),
            degrees(placeToken(record.data, WLocation::LONGITUDE_KEY))});
    });
    std::sort(index.stations.begin(), index.stations.end(),
        [](const WIndexedStation &a, const WIndexedStation &b) { return a.code < b.code; });
    return read;
}

} // namespace

bool loadPlaceIndex(const std::string &directory, WPlaceIndex &index, std::string &error)
{
    const std::string base = directory.empty() ? std::string() : directory + "/";
    const std::pair<const char *, bool (*)(const std::string &, WPlaceIndex &)> steps[] = {
        {"states.ldt", readStates},
        {"cities.ldt", readCities},
        {"zipcodes.ldt", readZipCodes},
        {"stations.ldt", readStations},
    };
    for (const auto &[file, read] : steps) {
        bool done = false;
        try {
            done = read(base, index);
        } catch (const LEx &) {
        } catch (const std::bad_alloc &) {
        }
        if (!done) {
            const WLocationFileProblem problem = locationFileProblem(base + file);
            error = problem == WLocationFileProblem::None
                ? std::string("cannot read ") + file
                : file + (' ' + std::string(describeLocationFileProblem(problem)));
            return false;
        }
    }
    return true;
}

} // namespace meteo
