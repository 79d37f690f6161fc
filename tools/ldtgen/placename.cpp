#include "tools/ldtgen/placename.h"

#include <string_view>

namespace ldtgen
{

namespace
{

struct NamedPlace {
    std::uint32_t code;
    const char *name;
};

// Places whose Census name is not what people call them.
constexpr NamedPlace namedPlaces[] = {
    {480095, "Village of Oak Creek"}, // "Village of Oak Creek (Big Park) CDP": the newer name is the one in use
    {1234132, "Islamorada"}, // "Islamorada, Village of Islands village"
    {1303440, "Athens"}, // "Athens-Clarke County unified government (balance)"
    {1304204, "Augusta"}, // "Augusta-Richmond County consolidated government (balance)"
    {1321017, "Cusseta"}, // "Cusseta-Chattahoochee County unified government"
    {1326156, "Echols County"}, // "Echols County consolidated government"
    {1332528, "Georgetown"}, // "Georgetown-Quitman County unified government"
    {1349008, "Macon"}, // "Macon-Bibb County"
    {1381128, "Webster County"}, // "Webster County unified government"
    {1571550, "Honolulu"}, // "Urban Honolulu CDP"
    {1608830, "Boise"}, // "Boise City city" (Boise City in Oklahoma keeps its name)
    {2028412, "Greeley County"}, // "Greeley County unified government (balance)"
    {2146027, "Lexington"}, // "Lexington-Fayette urban county"
    {2148006, "Louisville"}, // "Louisville/Jefferson County metro government (balance)"
    {2682450, "Clarkston"}, // "Village of Clarkston city"
    {2682453, "Grosse Pointe Shores"}, // "Village of Grosse Pointe Shores city"
    {3001675, "Anaconda"}, // "Anaconda-Deer Lodge County"
    {3011397, "Butte"}, // "Butte-Silver Bow (balance)"
    {3976582, "Indian Hill"}, // "The Village of Indian Hill city"
    {4732742, "Hartsville"}, // "Hartsville/Trousdale County"
    {4744382, "Lynchburg"}, // "Lynchburg, Moore County metropolitan government"
    {4752006, "Nashville"}, // "Nashville-Davidson metropolitan government (balance)"
};

// The kinds of place that end Census names; the first three are designated, not incorporated.
constexpr std::string_view designatedKinds[] = {" CDP", " comunidad", " zona urbana"};
constexpr std::string_view incorporatedKinds[]
    = {" city", " town", " village", " borough", " municipality", " corporation", " metro township"};

bool cutSuffix(std::string &name, std::string_view suffix)
{
    if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    name.erase(name.size() - suffix.size());
    return true;
}

// The kind that was cut, without its space; empty when the name ends in none of them.
template<std::size_t N>
std::string_view cutAnySuffix(std::string &name, const std::string_view (&suffixes)[N])
{
    for (const std::string_view suffix : suffixes) {
        if (cutSuffix(name, suffix))
            return suffix.substr(1);
    }
    return {};
}

// "El Paso de Robles (Paso Robles)": the name in parentheses is the one in common use.
void takeCommonAlias(std::string &name)
{
    const std::size_t open = name.find(" (");
    if (open != std::string::npos && name.back() == ')')
        name = name.substr(open + 2, name.size() - open - 3);
}

} // namespace

CommonName commonName(std::uint32_t code, const std::string &censusName, const std::string &state)
{
    CommonName result;
    result.name = censusName;
    cutSuffix(result.name, " (balance)");
    result.kind = cutAnySuffix(result.name, designatedKinds);
    result.designated = !result.kind.empty();
    if (!result.designated)
        result.kind = cutAnySuffix(result.name, incorporatedKinds);
    if (!result.designated && !result.kind.empty() && state == "MA")
        cutSuffix(result.name, " Town");
    takeCommonAlias(result.name);
    for (const NamedPlace &place : namedPlaces) {
        if (place.code == code)
            result.name = place.name;
    }
    return result;
}

} // namespace ldtgen
