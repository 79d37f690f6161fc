#include "meteo/location/wplacefinders_p.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <tuple>

namespace meteo
{

namespace
{

constexpr std::uint32_t ANY_STATE = UINT32_MAX;
// "district of columbia" is the longest state name, in words.
constexpr std::size_t LONGEST_STATE_WORDS = 3;

// One way to read what was typed: a name, and a state (by position in the index) that was typed after it.
struct Reading {
    std::string name;
    std::uint32_t state = ANY_STATE;
};

// How well a city fits: the rank of the name match, then whether its state was typed (false sorts first).
using Fit = std::pair<WPlaceMatchKind, bool>;

std::optional<std::uint32_t> stateTyped(const WPlaceIndex &index, std::string_view folded)
{
    for (std::uint32_t i = 0; i < index.states.size(); ++i) {
        if (folded == index.states[i].foldedName || folded == index.states[i].code)
            return i;
    }
    return std::nullopt;
}

// "springfield, il" reads as Springfield in Illinois; without a comma, the last one to three words are tried as a
// state ("des moines iowa", "washington dc", "x district of columbia"). The whole text is always one reading.
std::vector<Reading> readingsOf(const WPlaceIndex &index, std::string_view typed)
{
    std::vector<Reading> readings{{foldPlaceText(typed), ANY_STATE}};
    const std::size_t comma = typed.rfind(',');
    if (comma != std::string_view::npos) {
        if (const auto state = stateTyped(index, foldPlaceText(typed.substr(comma + 1))))
            readings.push_back({foldPlaceText(typed.substr(0, comma)), *state});
        return readings;
    }
    const std::string whole = readings.front().name;
    std::size_t space = whole.size();
    for (std::size_t words = 1; words <= LONGEST_STATE_WORDS; ++words) {
        space = whole.rfind(' ', space - 1);
        if (space == std::string::npos || space == 0)
            break;
        if (const auto state = stateTyped(index, std::string_view(whole).substr(space + 1)))
            readings.push_back({whole.substr(0, space), *state});
    }
    return readings;
}

std::optional<WPlaceMatchKind> nameFit(const std::string &name, const std::string &wanted)
{
    if (name == wanted)
        return WPlaceMatchKind::ExactName;
    if (name.compare(0, wanted.size(), wanted) == 0)
        return WPlaceMatchKind::NameStart;
    if (name.find(wanted) != std::string::npos)
        return WPlaceMatchKind::NameInside;
    return std::nullopt;
}

// The best fit of a city over all readings.
std::optional<Fit> bestFit(const WIndexedCity &city, const std::vector<Reading> &readings)
{
    std::optional<Fit> best;
    for (const Reading &reading : readings) {
        if (reading.name.empty())
            continue;
        if (const auto kind = nameFit(city.foldedName, reading.name)) {
            const Fit fit{*kind, reading.state != city.state};
            best = best ? std::min(*best, fit) : fit;
        }
    }
    return best;
}

} // namespace

std::vector<WPlaceMatch> findByName(const WPlaceIndex &index, std::string_view typed)
{
    const std::vector<Reading> readings = readingsOf(index, typed);
    std::vector<std::pair<Fit, std::uint32_t>> found;
    for (std::uint32_t i = 0; i < index.cities.size(); ++i) {
        if (const auto fit = bestFit(index.cities[i], readings))
            found.emplace_back(*fit, i);
    }
    const auto better = [&index](const auto &a, const auto &b) {
        const WIndexedCity &cityA = index.cities[a.second];
        const WIndexedCity &cityB = index.cities[b.second];
        return std::tie(a.first, cityA.foldedName, index.states[cityA.state].foldedName, a.second)
            < std::tie(b.first, cityB.foldedName, index.states[cityB.state].foldedName, b.second);
    };
    const std::size_t kept = std::min(found.size(), WPlaceSearch::MAX_RESULTS);
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(), better);
    std::vector<WPlaceMatch> matches;
    for (std::size_t i = 0; i < kept; ++i)
        matches.push_back(placeMatch(index, found[i].second, found[i].first.first, 0));
    return matches;
}

} // namespace meteo
