// Generates the location files of the United States from the correlation data of the weather-util-data package
// (the Census places and counties with their nearest stations and forecast zones):
//   nimbrel-ldtgen /usr/share/weather-util data
#include "tools/ldtgen/ldtwriter.h"
#include "tools/ldtgen/locationset.h"
#include "tools/ldtgen/sourcedata.h"

#include <cstdio>
#include <string>

namespace
{

void printSummary(const ldtgen::LocationSet &set)
{
    const ldtgen::BuildCounts &counts = set.counts;
    std::printf("%zu states, %zu areas, %zu cities\n", set.states.size(), set.areas.size(), set.cities.size());
    std::printf("%zu designated places dropped as twins of incorporated ones\n", counts.designatedDropped);
    std::printf("%zu cities told apart from their namesakes by county\n", counts.countiesNamed);
    std::printf("%zu ZIP codes, %zu outside the states left out\n", set.zipCodes.size(), counts.zipsOutsideStates);
    std::printf("%zu stations\n", set.stations.size());
    std::printf("%zu places outside the states left out\n", counts.outsideStates);
    std::printf("%zu principal stations, %zu other stations replaced by the nearest usable one\n",
        counts.principalStations, counts.stationsReplaced);
    std::printf("%zu zones across a state line replaced by the nearest zone of the state\n", counts.zonesReplaced);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SOURCE_DIR OUTPUT_DIR\n", argc > 0 ? argv[0] : "nimbrel-ldtgen");
        return 2;
    }
    ldtgen::SourceData source;
    ldtgen::LocationSet set;
    std::string error;
    if (!ldtgen::loadSourceData(argv[1], source, error) || !ldtgen::buildLocationSet(source, set, error)
        || !ldtgen::writeLocationFiles(set, argv[2], error)) {
        std::fprintf(stderr, "nimbrel-ldtgen: %s\n", error.c_str());
        return 1;
    }
    printSummary(set);
    return 0;
}
