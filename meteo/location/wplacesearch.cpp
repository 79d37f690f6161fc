#include "meteo/location/wplacesearch.h"

#include "meteo/location/wlocationdb.h"
#include "meteo/location/wplacefinders_p.h"

#include <algorithm>
#include <new>

using namespace corekit;

namespace meteo
{

namespace
{

// Longer than any place name and state together: longer text is not a place, and is not looked through.
constexpr std::size_t LONGEST_QUERY = 200;

} // namespace

WPlaceSearch::WPlaceSearch() = default;
WPlaceSearch::~WPlaceSearch() = default;

int WPlaceSearch::load(const std::string &directory)
{
    m_index.reset();
    m_error.clear();
    try {
        auto index = std::make_unique<WPlaceIndex>();
        if (!loadPlaceIndex(directory, *index, m_error))
            return -1;
        m_index = std::move(index);
    } catch (const std::bad_alloc &) {
        m_error = "not enough memory for the place index";
        return -1;
    }
    return 0;
}

int WPlaceSearch::load(const WLocationDB &database)
{
    return load(std::string(static_cast<const char *>(database.getDirectory())));
}

// A query is tried as a ZIP code, as coordinates, and then as a station and as a name together, since "elko" or
// "troy" could be either.
std::vector<WPlaceMatch> WPlaceSearch::find(std::string_view query) const
{
    if (!m_index || query.size() > LONGEST_QUERY)
        return {};
    const std::string folded = foldPlaceText(query);
    if (folded.empty())
        return {};
    std::vector<WPlaceMatch> found = findByZipCode(*m_index, folded);
    if (!found.empty())
        return found;
    if (const auto point = parseTypedPoint(query))
        return findNearby(*m_index, *point);
    found = findByStation(*m_index, folded);
    const std::size_t stationPlaces = found.size();
    for (WPlaceMatch &match : findByName(*m_index, query)) {
        const auto same = [&match](const WPlaceMatch &other) { return other.cityId == match.cityId; };
        if (found.size() < MAX_RESULTS && std::none_of(found.begin(), found.begin() + stationPlaces, same))
            found.push_back(std::move(match));
    }
    return found;
}

} // namespace meteo
