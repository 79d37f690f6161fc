#include "settings/lplacelist.h"

#include "settings/lsettings.h"

#include <algorithm>
#include <charconv>

using namespace corekit;

namespace settings
{

namespace
{

bool number(std::string_view text, std::uint32_t &value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && value != 0;
}

// "19/1921000"; spaces around the entry are forgiven, since a person may edit the file by hand.
bool parseEntry(std::string_view entry, LPlaceId &place)
{
    while (!entry.empty() && entry.front() == ' ')
        entry.remove_prefix(1);
    while (!entry.empty() && entry.back() == ' ')
        entry.remove_suffix(1);
    const std::size_t slash = entry.find('/');
    return slash != std::string_view::npos && number(entry.substr(0, slash), place.stateId)
        && number(entry.substr(slash + 1), place.cityId);
}

// "'19/x': not STATE_ID/CITY_ID"
std::string note(std::string_view entry, std::string_view reason)
{
    std::string text(1, '\'');
    text.append(entry).append("': ").append(reason);
    return text;
}

// Sorts one entry into the list or among the damaged ones.
void take(LPlaceList::Parsed &parsed, std::string_view entry)
{
    LPlaceId place;
    if (!parseEntry(entry, place))
        parsed.damaged.push_back(note(entry, "not STATE_ID/CITY_ID"));
    else if (std::find(parsed.places.begin(), parsed.places.end(), place) != parsed.places.end())
        parsed.damaged.push_back(note(entry, "saved twice"));
    else if (parsed.places.size() == LPlaceList::MAX_PLACES)
        parsed.damaged.push_back(note(entry, "more than " + std::to_string(LPlaceList::MAX_PLACES) + " places"));
    else
        parsed.places.push_back(place);
}

} // namespace

std::string LPlaceId::text() const
{
    return std::to_string(stateId) + '/' + std::to_string(cityId);
}

LPlaceList::Parsed LPlaceList::Parse(std::string_view text)
{
    Parsed parsed;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(SEPARATOR, start), text.size());
        const std::string_view entry = text.substr(start, end - start);
        // An empty list, or a separator at the end, holds no entry rather than a damaged one.
        if (entry.find_first_not_of(' ') != std::string_view::npos)
            take(parsed, entry);
        start = end + 1;
    }
    return parsed;
}

std::string LPlaceList::Write(const std::vector<LPlaceId> &places)
{
    std::string text;
    for (const LPlaceId &place : places) {
        if (!text.empty())
            text += SEPARATOR;
        text += place.text();
    }
    return text;
}

LPlaceList::Parsed LPlaceList::Load(LKeeper &keeper)
{
    Parsed parsed;
    LString text;
    if (keeper.GetString(PLACES, LIST, text, false) == L_OK)
        parsed = Parse(std::string_view(text, text.length()));
    LPlaceId shown;
    if (Shown(keeper, shown) && std::find(parsed.places.begin(), parsed.places.end(), shown) == parsed.places.end()) {
        if (parsed.places.size() == MAX_PLACES)
            parsed.places.pop_back();
        parsed.places.push_back(shown);
    }
    return parsed;
}

int LPlaceList::Save(LKeeper &keeper, const std::vector<LPlaceId> &places)
{
    return keeper.SetString(PLACES, LIST, Write(places).c_str(), false);
}

bool LPlaceList::Shown(LKeeper &keeper, LPlaceId &place)
{
    LPlaceId read;
    if (keeper.GetInt(LSettings::LOCATION, LSettings::STATE, read.stateId, false) != L_OK
        || keeper.GetInt(LSettings::LOCATION, LSettings::CITY, read.cityId, false) != L_OK)
        return false;
    place = read;
    return true;
}

void LPlaceList::DropMissing(Parsed &parsed, const std::function<bool(const LPlaceId &)> &exists)
{
    std::vector<LPlaceId> kept;
    for (const LPlaceId &place : parsed.places) {
        if (exists(place))
            kept.push_back(place);
        else
            parsed.damaged.push_back(note(place.text(), "no longer in the location files"));
    }
    parsed.places = std::move(kept);
}

} // namespace settings
