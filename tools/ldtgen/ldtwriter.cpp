#include "tools/ldtgen/ldtwriter.h"

#include "corekit/lex.h"
#include "corekit/lstream.h"
#include "meteo/location/wlocationdb.h"

using namespace corekit;

namespace ldtgen
{

namespace
{

// Lines go between records, so that the file ends right after the last value.
void startRecord(LOStream &out, bool &first)
{
    if (!first)
        out.endl();
    first = false;
}

void writeCountries(LOStream &out)
{
    out << meteo::WLocationDB::UNITED_STATES << "United States"
        << "us";
}

void writeStates(LOStream &out, const LocationSet &set)
{
    bool first = true;
    for (const LocationRecord &state : set.states) {
        startRecord(out, first);
        out << state.id << meteo::WLocationDB::UNITED_STATES << state.name.c_str() << state.data.c_str();
    }
}

void writePlaces(LOStream &out, const std::vector<LocationRecord> &records)
{
    bool first = true;
    for (const LocationRecord &record : records) {
        startRecord(out, first);
        out << record.id << meteo::WLocationDB::UNITED_STATES << record.state << record.name.c_str()
            << record.data.c_str();
    }
}

template<typename Write>
bool writeFile(const std::string &path, Write write, std::string &error)
{
    LOStream out(path.c_str());
    if (out.bad()) {
        error = "cannot create " + path;
        return false;
    }
    try {
        write(out);
    } catch (const LEx &e) {
        error = "cannot write " + path + (e.text() ? std::string(": ") + e.text() : std::string());
        return false;
    }
    return true;
}

} // namespace

bool writeLocationFiles(const LocationSet &set, const std::string &directory, std::string &error)
{
    const std::string base = directory.empty() ? std::string() : directory + "/";
    return writeFile(base + "countries.ldt", writeCountries, error)
        && writeFile(
            base + "states.ldt", [&set](LOStream &out) { writeStates(out, set); }, error)
        && writeFile(
            base + "areas.ldt", [&set](LOStream &out) { writePlaces(out, set.areas); }, error)
        && writeFile(
            base + "cities.ldt", [&set](LOStream &out) { writePlaces(out, set.cities); }, error)
        && writeFile(
            base + "zipcodes.ldt", [&set](LOStream &out) { writePlaces(out, set.zipCodes); }, error)
        && writeFile(
            base + "stations.ldt", [&set](LOStream &out) { writePlaces(out, set.stations); }, error);
}

} // namespace ldtgen
