#include "settings/lplacelist.h"

#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace settings;
using nimbreltest::TempDir;

namespace
{

// Des Moines, IA and Bismarck, ND in the location files.
const LPlaceId DES_MOINES{19, 1921000};
const LPlaceId BISMARCK{38, 3807200};

} // namespace

// What is written is read back in its order, through the real settings file, and the place shown stays in
// [Location] where a program that knows one place finds it.
TEST(LPlaceList, roundTripThroughTheSettingsFile)
{
    TempDir folder;
    LWinKeeper keeper("Nimbrel", folder.path().string());
    keeper.SetInt(LSettings::LOCATION, LSettings::STATE, BISMARCK.stateId, false);
    keeper.SetInt(LSettings::LOCATION, LSettings::CITY, BISMARCK.cityId, false);
    ASSERT_EQ(LPlaceList::Save(keeper, {DES_MOINES, BISMARCK}), corekit::L_OK);
    EXPECT_NE(TempDir::read(keeper.FilePath(false)).find("[Places]\nList=str:\"19/1921000;38/3807200\"\n"),
        std::string::npos);

    LWinKeeper reader("Nimbrel", folder.path().string());
    const LPlaceList::Parsed loaded = LPlaceList::Load(reader);
    EXPECT_EQ(loaded.places, (std::vector<LPlaceId>{DES_MOINES, BISMARCK}));
    EXPECT_TRUE(loaded.damaged.empty());
    EXPECT_EQ(LPlaceList::Write(LPlaceList::Parse("").places), "");
}

// A file written before there were several places has its one place; a list that lacks the place shown gains it;
// no place at all is an empty list.
TEST(LPlaceList, anOlderFileKeepsItsPlace)
{
    TempDir folder;
    const std::string path
        = folder.write("Nimbrel.conf", "[General]\nUpdateTimeout=int:15\n[Location]\nState=int:38\nCity=int:3807200\n");
    LWinKeeper keeper("Nimbrel", folder.path().string());
    ASSERT_EQ(keeper.FilePath(false), path);
    EXPECT_EQ(LPlaceList::Load(keeper).places, std::vector<LPlaceId>{BISMARCK});

    LPlaceList::Save(keeper, {DES_MOINES});
    EXPECT_EQ(LPlaceList::Load(keeper).places, (std::vector<LPlaceId>{DES_MOINES, BISMARCK}));

    TempDir empty;
    LWinKeeper none("Nimbrel", empty.path().string());
    EXPECT_TRUE(LPlaceList::Load(none).places.empty());
}

// Each damaged entry is left out alone and named, whatever is around it.
TEST(LPlaceList, aDamagedEntryCostsThatEntryOnly)
{
    const LPlaceList::Parsed parsed = LPlaceList::Parse(" 19/1921000 ;19/x;38;0/5;38/3807200;19/1921000;");
    EXPECT_EQ(parsed.places, (std::vector<LPlaceId>{DES_MOINES, BISMARCK}));
    EXPECT_EQ(parsed.damaged,
        (std::vector<std::string>{"'19/x': not STATE_ID/CITY_ID", "'38': not STATE_ID/CITY_ID",
            "'0/5': not STATE_ID/CITY_ID", "'19/1921000': saved twice"}));

    std::string many;
    for (std::uint32_t city = 1; city <= LPlaceList::MAX_PLACES + 1; ++city)
        many += "1/" + std::to_string(city) + ";";
    const LPlaceList::Parsed full = LPlaceList::Parse(many);
    EXPECT_EQ(full.places.size(), LPlaceList::MAX_PLACES);
    EXPECT_EQ(full.damaged, std::vector<std::string>{"'1/21': more than 20 places"});

    LPlaceList::Parsed gone = LPlaceList::Parse("19/1921000;38/3807200");
    LPlaceList::DropMissing(gone, [](const LPlaceId &place) { return place.stateId != 38; });
    EXPECT_EQ(gone.places, std::vector<LPlaceId>{DES_MOINES});
    EXPECT_EQ(gone.damaged, std::vector<std::string>{"'38/3807200': no longer in the location files"});
}
