#include "tools/ldtgen/principalstation.h"

namespace ldtgen
{

namespace
{

struct PrincipalStation {
    std::uint32_t place;
    const char *station;
};

// The thirty largest cities by the 2020 census, then a few large ones whose nearest station is a minor one.
constexpr PrincipalStation principalStations[] = {
    {3651000, "knyc"}, // New York: Central Park
    {644000, "klax"}, // Los Angeles
    {1714000, "kord"}, // Chicago: O'Hare
    {4835000, "kiah"}, // Houston: Bush Intercontinental
    {455000, "kphx"}, // Phoenix
    {4260000, "kphl"}, // Philadelphia
    {4865000, "ksat"}, // San Antonio
    {666000, "ksan"}, // San Diego
    {4819000, "kdfw"}, // Dallas
    {668000, "ksjc"}, // San Jose
    {4805000, "kaus"}, // Austin
    {1235000, "kjax"}, // Jacksonville
    {4827000, "kdfw"}, // Fort Worth
    {3918000, "kcmh"}, // Columbus
    {1836003, "kind"}, // Indianapolis
    {3712000, "kclt"}, // Charlotte
    {667000, "ksfo"}, // San Francisco
    {5363000, "ksea"}, // Seattle
    {820000, "kden"}, // Denver
    {1150000, "kdca"}, // Washington: Reagan National
    {4752006, "kbna"}, // Nashville
    {4055000, "kokc"}, // Oklahoma City
    {4824000, "kelp"}, // El Paso
    {2507000, "kbos"}, // Boston
    {4159000, "kpdx"}, // Portland
    {3240000, "klas"}, // Las Vegas
    {2622000, "kdtw"}, // Detroit
    {4748000, "kmem"}, // Memphis
    {2148006, "ksdf"}, // Louisville
    {2404000, "kbwi"}, // Baltimore
    {5553000, "kmke"}, // Milwaukee
    {477000, "ktus"}, // Tucson
    {1304000, "katl"}, // Atlanta
    {2938000, "kmci"}, // Kansas City
    {2255000, "kmsy"}, // New Orleans
    {2965000, "kstl"}, // St. Louis
    {203000, "panc"}, // Anchorage
    {7276770, "tjsj"}, // San Juan
};

} // namespace

const char *principalStation(std::uint32_t placeCode)
{
    for (const PrincipalStation &entry : principalStations) {
        if (entry.place == placeCode)
            return entry.station;
    }
    return nullptr;
}

} // namespace ldtgen
