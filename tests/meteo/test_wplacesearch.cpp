#include "meteo/location/wplacesearch.h"

#include "meteo/location/wlocationdb.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

// Identifiers of the committed location files.
constexpr std::uint32_t IOWA = 19;
constexpr std::uint32_t ILLINOIS = 17;
constexpr std::uint32_t TEXAS = 48;
constexpr std::uint32_t DES_MOINES_IA = 1921000;

const std::string DATA = std::string(NIMBREL_SOURCE_DIR) + "/data";

// One index of the real files for all tests, read once.
const WPlaceSearch &search()
{
    static WPlaceSearch search;
    if (!search.isLoaded()) {
        EXPECT_EQ(search.load(DATA), 0) << search.getError();
    }
    return search;
}

std::vector<std::string> names(const std::vector<WPlaceMatch> &found)
{
    std::vector<std::string> result;
    for (const WPlaceMatch &match : found)
        result.push_back(match.name);
    return result;
}

bool contains(const std::vector<std::string> &list, const std::string &name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

// The position of the city among the places found, or -1.
int rankOf(const std::vector<WPlaceMatch> &found, std::uint32_t cityId)
{
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found[i].cityId == cityId)
            return static_cast<int>(i);
    }
    return -1;
}

TEST(PlaceSearch, findsANameInEveryState)
{
    const std::vector<WPlaceMatch> found = search().find("des moines");
    const std::vector<std::string> listed = names(found);
    for (const char *name : {"Des Moines, Iowa", "Des Moines, New Mexico", "Des Moines, Washington"})
        EXPECT_TRUE(contains(listed, name)) << name;
    EXPECT_EQ(found.front().kind, WPlaceMatchKind::ExactName);
    EXPECT_TRUE(contains(names(search().find("  DES   Moines ")), "Des Moines, Iowa"));
    const WPlaceMatch &iowa = found[static_cast<std::size_t>(rankOf(found, DES_MOINES_IA))];
    EXPECT_EQ(iowa.stateId, IOWA);
    EXPECT_EQ(iowa.station, "KDSM");
    EXPECT_EQ(iowa.zone.rfind("IAZ", 0), 0u) << iowa.zone;
    EXPECT_NEAR(iowa.latitude, 41.59, 0.1);
    EXPECT_NEAR(iowa.longitude, -93.62, 0.1);
}

// A typed state puts its place first among names that fit as well, whether written as a code or a name.
TEST(PlaceSearch, typedStateRanksFirst)
{
    for (const char *query : {"Des Moines, IA", "des moines iowa", "des moines ia", "DES MOINES,Iowa"}) {
        const std::vector<WPlaceMatch> found = search().find(query);
        ASSERT_FALSE(found.empty()) << query;
        EXPECT_EQ(found.front().cityId, DES_MOINES_IA) << query;
        EXPECT_GE(found.size(), 3u) << query << ": the other states' places still follow";
    }
    const std::vector<WPlaceMatch> springfield = search().find("springfield, il");
    ASSERT_FALSE(springfield.empty());
    EXPECT_EQ(springfield.front().name, "Springfield, Illinois");
    EXPECT_EQ(springfield.front().stateId, ILLINOIS);
    EXPECT_EQ(search().find("kansas city, ks").front().name, "Kansas City, Kansas");
}

// Exact names, then names that begin so, then names that hold the text; at most the limit.
TEST(PlaceSearch, ranksExactBeforeStartBeforeInside)
{
    const std::vector<WPlaceMatch> found = search().find("spring");
    ASSERT_EQ(found.size(), WPlaceSearch::MAX_RESULTS);
    EXPECT_EQ(found.front().name, "Spring, Texas");
    for (std::size_t i = 1; i < found.size(); ++i)
        EXPECT_LE(found[i - 1].kind, found[i].kind) << found[i].name;
    const std::vector<WPlaceMatch> inside = search().find("moines");
    ASSERT_FALSE(inside.empty());
    EXPECT_EQ(inside.front().kind, WPlaceMatchKind::NameInside);
}

TEST(PlaceSearch, ignoresAccentsAndCase)
{
    for (const char *query : {"catano", "CATAÑO", "Cata\xC3\xB1o, PR"}) {
        const std::vector<WPlaceMatch> found = search().find(query);
        ASSERT_FALSE(found.empty()) << query;
        EXPECT_EQ(found.front().name, "Cata\xC3\xB1o, Puerto Rico") << query;
    }
    for (const char *query : {"st louis mo", "Saint Louis, MO", "st.louis,missouri"}) {
        const std::vector<WPlaceMatch> found = search().find(query);
        ASSERT_FALSE(found.empty()) << query;
        EXPECT_EQ(found.front().name, "St. Louis, Missouri") << query;
    }
    EXPECT_EQ(search().find("fort myers").front().name, "Fort Myers, Florida");
    EXPECT_EQ(search().find("ft myers").front().name, "Fort Myers, Florida");
}

TEST(PlaceSearch, tellsNamesakesApartByCounty)
{
    std::vector<std::string> texas;
    for (const WPlaceMatch &match : search().find("mesquite")) {
        if (match.stateId == TEXAS && match.kind == WPlaceMatchKind::ExactName)
            texas.push_back(match.name);
    }
    ASSERT_EQ(texas.size(), 2u);
    EXPECT_TRUE(contains(texas, "Mesquite (Dallas County), Texas"));
    EXPECT_TRUE(contains(texas, "Mesquite (Starr County), Texas"));
}

TEST(PlaceSearch, findsZipCodes)
{
    const std::vector<WPlaceMatch> found = search().find("50309");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front().name, "Des Moines, Iowa");
    EXPECT_EQ(found.front().kind, WPlaceMatchKind::ZipCode);
    EXPECT_LT(found.front().distanceKm, 10);
    ASSERT_EQ(search().find("50309-1234").size(), 1u);
    EXPECT_EQ(search().find("50309-1234").front().cityId, DES_MOINES_IA);
    EXPECT_TRUE(search().find("50309-12").empty());
    ASSERT_EQ(search().find(" 00601 ").size(), 1u) << "a leading zero";
    EXPECT_EQ(search().find("00601").front().name.find(", Puerto Rico") != std::string::npos, true);
    EXPECT_TRUE(search().find("00000").empty());
    EXPECT_TRUE(search().find("5030").empty()) << "not yet a ZIP code, and no name";
}

TEST(PlaceSearch, findsStationsAndCoordinatesNearestFirst)
{
    const auto expectNearestFirst = [](const std::string &query, WPlaceMatchKind kind) {
        const std::vector<WPlaceMatch> found = search().find(query);
        const int rank = rankOf(found, DES_MOINES_IA);
        EXPECT_TRUE(rank >= 0 && rank < 3) << query << ": Des Moines at " << rank;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].kind, kind) << query;
            EXPECT_LE(found[i].distanceKm, WPlaceSearch::NEARBY_KM) << query;
            if (i > 0) {
                EXPECT_LE(found[i - 1].distanceKm, found[i].distanceKm) << query;
            }
        }
    };
    expectNearestFirst("KDSM", WPlaceMatchKind::Station);
    expectNearestFirst("kdsm", WPlaceMatchKind::Station);
    expectNearestFirst("41.5868, -93.6250", WPlaceMatchKind::Coordinates);
    expectNearestFirst("41.5868 -93.6250", WPlaceMatchKind::Coordinates);
    EXPECT_EQ(search().find("41.5868, -93.6250").size(), WPlaceSearch::MAX_RESULTS);
    EXPECT_TRUE(search().find("30, -40").empty()) << "the middle of the Atlantic";
    EXPECT_TRUE(search().find("91, -93").empty()) << "no such latitude";
}

TEST(PlaceSearch, findsNothingInNonsense)
{
    std::string binary;
    for (int c = 0; c < 256; ++c)
        binary += static_cast<char>(c);
    for (const std::string &query :
        {std::string(), std::string("   "), std::string("xqzzqx"), std::string(",,"), std::string(10000, 'a'), binary,
            std::string("\xC3"), std::string("41.5, "), std::string("KZZZ"), std::string("nan, nan")}) {
        EXPECT_TRUE(search().find(query).empty()) << query.size() << " bytes";
    }
}

TEST(PlaceSearch, reportsFilesItCannotRead)
{
    WPlaceSearch unloaded;
    EXPECT_TRUE(unloaded.find("des moines").empty());

    nimbreltest::TempDir dir;
    for (const char *name : {"states.ldt", "cities.ldt"})
        dir.write(name, nimbreltest::TempDir::read(DATA + "/" + name));
    WPlaceSearch search;
    EXPECT_EQ(search.load(dir.path().string()), -1);
    EXPECT_EQ(search.getError(), "zipcodes.ldt is missing");
    EXPECT_FALSE(search.isLoaded());

    dir.write("stations.ldt", nimbreltest::TempDir::read(DATA + "/stations.ldt"));
    for (const char *cut : {"50309,1,19,\"50309\",\"acity(1921000)adist(1", "50309,1,19,\"50309\",", "50309,1,"}) {
        dir.write("zipcodes.ldt", cut);
        EXPECT_EQ(search.load(dir.path().string()), -1) << cut;
        EXPECT_EQ(search.getError(), "cannot read zipcodes.ldt");
    }

    dir.write("zipcodes.ldt", "50309,1,19,\"50309\",\"acity(1921000)adist(1.4)\"");
    WLocationDB::initLocationDB(dir.path().string().c_str());
    EXPECT_EQ(search.load(WLocationDB::getLocationDB()), 0) << search.getError();
    WLocationDB::closeLocationDB();
    EXPECT_EQ(search.find("50309").front().cityId, DES_MOINES_IA);
    EXPECT_TRUE(search.find("50310").empty());
}

} // namespace
