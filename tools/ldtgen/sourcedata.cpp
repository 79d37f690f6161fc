#include "tools/ldtgen/sourcedata.h"

#include "tools/ldtgen/sectionfile.h"

#include <algorithm>
#include <charconv>

namespace ldtgen
{

namespace
{

constexpr std::size_t countyDigits = 5;
constexpr std::size_t placeDigits = 7;
constexpr std::size_t subdivisionDigits = 10;
constexpr std::size_t zipDigits = 5;

bool parseNumber(const std::string &text, std::size_t begin, std::size_t end, double &value)
{
    const char *first = text.data() + begin;
    const char *last = text.data() + end;
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last;
}

// "Abanda CDP, AL" is the name "Abanda CDP" in state "AL".
bool splitDescription(const std::string &description, CensusEntry &entry)
{
    const std::size_t comma = description.rfind(", ");
    if (comma == std::string::npos || description.size() - comma != 4)
        return false;
    entry.name = description.substr(0, comma);
    entry.state = description.substr(comma + 2);
    return true;
}

bool allDigits(const std::string &text, std::size_t from)
{
    return text.find_first_not_of("0123456789", from) == std::string::npos;
}

// Places are "fips" and seven digits, counties "fips" and five, county subdivisions "fips" and ten.
std::size_t censusDigits(const std::string &name)
{
    const std::size_t digits = name.size() - 4;
    if (name.size() < 4 || name.compare(0, 4, "fips") != 0
        || (digits != countyDigits && digits != placeDigits && digits != subdivisionDigits))
        return 0;
    return allDigits(name, 4) ? digits : 0;
}

// Only the county and the centre of a subdivision are needed; its ten digits do not fit 32 bits.
bool takeSubdivision(const Section &section, SourceData &data, std::string &error)
{
    Subdivision subdivision;
    subdivision.county = static_cast<std::uint32_t>(std::stoul(section.name.substr(4, countyDigits)));
    if (!parsePoint(section.value("centroid"), subdivision.centre)) {
        error = "places: unreadable section " + section.name;
        return false;
    }
    data.subdivisions.push_back(subdivision);
    return true;
}

bool takeCensusSection(const Section &section, SourceData &data, std::string &error)
{
    const std::size_t digits = censusDigits(section.name);
    if (digits == 0)
        return true;
    if (digits == subdivisionDigits)
        return takeSubdivision(section, data, error);
    CensusEntry entry;
    entry.code = static_cast<std::uint32_t>(std::stoul(section.name.substr(4)));
    entry.station = quotedCode(section.value("station"));
    entry.zone = quotedCode(section.value("zone"));
    if (!splitDescription(section.value("description"), entry)
        || !parsePoint(section.value("centroid"), entry.centre)) {
        error = "places: unreadable section " + section.name;
        return false;
    }
    (digits == placeDigits ? data.places : data.counties).push_back(entry);
    return true;
}

// Reads every section of one file of the package, handing each to take, which may refuse it.
template<typename Take>
bool eachSection(const std::string &path, std::string &error, Take take)
{
    std::vector<Section> sections;
    if (!readSectionFile(path, sections, error))
        return false;
    return std::all_of(sections.begin(), sections.end(), take);
}

bool loadPlaces(const std::string &directory, SourceData &data, std::string &error)
{
    return eachSection(directory + "/places.gz", error,
        [&data, &error](const Section &section) { return takeCensusSection(section, data, error); });
}

bool loadStations(const std::string &directory, SourceData &data, std::string &error)
{
    return eachSection(directory + "/stations.gz", error, [&data](const Section &section) {
        Station station;
        station.code = section.name;
        station.located = parsePoint(section.value("location"), station.location);
        station.inZoneList = !section.value("zone").empty();
        data.stations.push_back(station);
        return true;
    });
}

bool loadZones(const std::string &directory, SourceData &data, std::string &error)
{
    return eachSection(directory + "/zones.gz", error, [&data](const Section &section) {
        Zone zone;
        zone.code = section.name;
        zone.located = parsePoint(section.value("centroid"), zone.centre);
        data.zones.push_back(zone);
        return true;
    });
}

bool loadZipAreas(const std::string &directory, SourceData &data, std::string &error)
{
    return eachSection(directory + "/zctas.gz", error, [&data, &error](const Section &section) {
        ZipArea area;
        area.code = section.name;
        if (area.code.size() != zipDigits || !allDigits(area.code, 0)
            || !parsePoint(section.value("centroid"), area.centre)) {
            error = "zctas: unreadable section " + section.name;
            return false;
        }
        data.zipAreas.push_back(area);
        return true;
    });
}

} // namespace

bool parsePoint(const std::string &text, GeoPoint &point)
{
    const std::size_t comma = text.find(", ");
    if (text.size() < 6 || text.front() != '(' || text.back() != ')' || comma == std::string::npos)
        return false;
    return parseNumber(text, 1, comma, point.lat) && parseNumber(text, comma + 2, text.size() - 1, point.lon);
}

std::string quotedCode(const std::string &text)
{
    const std::size_t open = text.find('\'');
    const std::size_t close = open == std::string::npos ? open : text.find('\'', open + 1);
    if (close == std::string::npos)
        return {};
    return text.substr(open + 1, close - open - 1);
}

bool loadSourceData(const std::string &directory, SourceData &data, std::string &error)
{
    data = SourceData();
    return loadPlaces(directory, data, error) && loadStations(directory, data, error)
        && loadZones(directory, data, error) && loadZipAreas(directory, data, error);
}

} // namespace ldtgen
