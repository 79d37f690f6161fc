#include "tools/ldtgen/statetable.h"

namespace ldtgen
{

namespace
{

struct StateName {
    const char *code;
    const char *name;
};

constexpr StateName stateNames[] = {
    {"AL", "Alabama"},
    {"AK", "Alaska"},
    {"AZ", "Arizona"},
    {"AR", "Arkansas"},
    {"CA", "California"},
    {"CO", "Colorado"},
    {"CT", "Connecticut"},
    {"DE", "Delaware"},
    {"DC", "District of Columbia"},
    {"FL", "Florida"},
    {"GA", "Georgia"},
    {"HI", "Hawaii"},
    {"ID", "Idaho"},
    {"IL", "Illinois"},
    {"IN", "Indiana"},
    {"IA", "Iowa"},
    {"KS", "Kansas"},
    {"KY", "Kentucky"},
    {"LA", "Louisiana"},
    {"ME", "Maine"},
    {"MD", "Maryland"},
    {"MA", "Massachusetts"},
    {"MI", "Michigan"},
    {"MN", "Minnesota"},
    {"MS", "Mississippi"},
    {"MO", "Missouri"},
    {"MT", "Montana"},
    {"NE", "Nebraska"},
    {"NV", "Nevada"},
    {"NH", "New Hampshire"},
    {"NJ", "New Jersey"},
    {"NM", "New Mexico"},
    {"NY", "New York"},
    {"NC", "North Carolina"},
    {"ND", "North Dakota"},
    {"OH", "Ohio"},
    {"OK", "Oklahoma"},
    {"OR", "Oregon"},
    {"PA", "Pennsylvania"},
    {"RI", "Rhode Island"},
    {"SC", "South Carolina"},
    {"SD", "South Dakota"},
    {"TN", "Tennessee"},
    {"TX", "Texas"},
    {"UT", "Utah"},
    {"VT", "Vermont"},
    {"VA", "Virginia"},
    {"WA", "Washington"},
    {"WV", "West Virginia"},
    {"WI", "Wisconsin"},
    {"WY", "Wyoming"},
    {"PR", "Puerto Rico"},
};

struct ZipPrefixes {
    int first;
    int last;
    const char *state;
};

// The Postal Service's three-digit prefixes of the states, the District of Columbia and Puerto Rico; 008 (the Virgin
// Islands), 090 to 099 and 340 (the armed forces) and 969 (the Pacific territories) are not among them.
constexpr ZipPrefixes zipPrefixes[] = {
    {5, 5, "NY"},
    {6, 7, "PR"},
    {9, 9, "PR"},
    {10, 27, "MA"},
    {28, 29, "RI"},
    {30, 38, "NH"},
    {39, 49, "ME"},
    {50, 54, "VT"},
    {55, 55, "MA"},
    {56, 59, "VT"},
    {60, 69, "CT"},
    {70, 89, "NJ"},
    {100, 149, "NY"},
    {150, 196, "PA"},
    {197, 199, "DE"},
    {200, 200, "DC"},
    {201, 201, "VA"},
    {202, 205, "DC"},
    {206, 219, "MD"},
    {220, 246, "VA"},
    {247, 268, "WV"},
    {270, 289, "NC"},
    {290, 299, "SC"},
    {300, 319, "GA"},
    {320, 339, "FL"},
    {341, 349, "FL"},
    {350, 369, "AL"},
    {370, 385, "TN"},
    {386, 397, "MS"},
    {398, 399, "GA"},
    {400, 427, "KY"},
    {430, 459, "OH"},
    {460, 479, "IN"},
    {480, 499, "MI"},
    {500, 528, "IA"},
    {530, 549, "WI"},
    {550, 567, "MN"},
    {569, 569, "DC"},
    {570, 577, "SD"},
    {580, 588, "ND"},
    {590, 599, "MT"},
    {600, 629, "IL"},
    {630, 658, "MO"},
    {660, 679, "KS"},
    {680, 693, "NE"},
    {700, 714, "LA"},
    {716, 729, "AR"},
    {730, 749, "OK"},
    {750, 799, "TX"},
    {800, 816, "CO"},
    {820, 831, "WY"},
    {832, 838, "ID"},
    {840, 847, "UT"},
    {850, 865, "AZ"},
    {870, 884, "NM"},
    {885, 885, "TX"},
    {889, 898, "NV"},
    {900, 961, "CA"},
    {967, 968, "HI"},
    {970, 979, "OR"},
    {980, 994, "WA"},
    {995, 999, "AK"},
};

} // namespace

const char *stateName(const std::string &postalCode)
{
    for (const StateName &state : stateNames) {
        if (postalCode == state.code)
            return state.name;
    }
    return nullptr;
}

const char *zipState(const std::string &zip)
{
    // American Samoa's one ZIP code lies among Hawaii's prefixes.
    if (zip.size() != 5 || zip.find_first_not_of("0123456789") != std::string::npos || zip == "96799")
        return nullptr;
    const int prefix = std::stoi(zip.substr(0, 3));
    for (const ZipPrefixes &range : zipPrefixes) {
        if (prefix >= range.first && prefix <= range.last)
            return range.state;
    }
    return nullptr;
}

} // namespace ldtgen
