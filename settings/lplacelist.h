#pragma once

#include "corekit/lkeeper.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace settings
{

// One place of the location files, by its state's and its city's identifier.
struct LPlaceId {
    std::uint32_t stateId = 0;
    std::uint32_t cityId = 0;

    bool operator==(const LPlaceId &) const = default;
    // "19/1921000", as the list stores it and the command line takes it.
    std::string text() const;
};

// The places a person saved, in the order the window shows them, stored as one line that both programs read:
// [Places] List=str:"19/1921000;38/3807200". The place shown stays in [Location] State and City, so that a file
// written before there were several places keeps its place, and a program that knows one place only still finds it.
class LPlaceList
{
public:
    static constexpr const char *PLACES = "Places";
    static constexpr const char *LIST = "List";
    static constexpr char SEPARATOR = ';';
    static constexpr std::size_t MAX_PLACES = 20;

    // The list as read: the places, and each entry left out with the reason, for the person to be told
    // ("'19/x': not STATE_ID/CITY_ID").
    struct Parsed {
        std::vector<LPlaceId> places;
        std::vector<std::string> damaged;
    };

    // A damaged entry costs that entry only; a place listed twice is kept once; entries past MAX_PLACES are left
    // out as damaged.
    static Parsed Parse(std::string_view text);
    static std::string Write(const std::vector<LPlaceId> &places);

    // The saved places of the keeper: the list, or for a file without one the place of [Location] alone (none when
    // that is not chosen either). The place shown is always among them: a list that lacks it gains it at its end.
    static Parsed Load(corekit::LKeeper &keeper);
    // Stores the list; L_OK, L_CREATE or L_OUTPUT.
    static int Save(corekit::LKeeper &keeper, const std::vector<LPlaceId> &places);
    // The place of [Location], when both its identifiers are stored.
    static bool Shown(corekit::LKeeper &keeper, LPlaceId &place);

    // Leaves out the places that the location files no longer hold, with a note for each in damaged.
    static void DropMissing(Parsed &parsed, const std::function<bool(const LPlaceId &)> &exists);
};

} // namespace settings
