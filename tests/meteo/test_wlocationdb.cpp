#include "meteo/location/wlocationdb.h"

#include "corekit/lstream.h"
#include "meteo/base/wlocationfile.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

struct Row {
    std::vector<std::uint32_t> ids;
    const char *name;
    const char *data;
};

// Writes records as the data files hold them: ids, name and data, one record a line.
void writeRecords(const std::string &path, std::initializer_list<Row> rows)
{
    LOStream out(path.c_str());
    for (const Row &row : rows) {
        for (std::uint32_t id : row.ids)
            out << id;
        out << row.name << row.data;
        out.endl();
    }
}

// A small database of real places (records as the shipped files hold them), and one province of another country.
struct Files {
    nimbreltest::TempDir dir;

    Files()
    {
        writeRecords(dir.file("countries.ldt"), {{{1}, "United States", "us"}, {{2}, "Canada", "ca"}});
        writeRecords(dir.file("states.ldt"),
            {{{17, 1}, "Illinois", "il"}, {{18, 1}, "Indiana", "in"}, {{35, 2}, "Ontario", "on"},
                {{2, 1}, "Alaska", "ak"}, {{72, 1}, "Puerto Rico", "pr"}});
        writeRecords(dir.file("areas.ldt"),
            {{{17031, 1, 17}, "Cook County", "alat(41.8943)alon(-87.6455)"},
                {{18097, 1, 18}, "Marion County", "alat(39.783)alon(-86.1358)"},
                {{17167, 1, 17}, "Sangamon County", "alat(39.7569)alon(-89.6624)"}});
        writeRecords(dir.file("cities.ldt"),
            {{{1714000, 1, 17}, "Chicago", "acode(KORD)azone(ILZ104)alat(41.837)alon(-87.6849)"},
                {{1836003, 1, 18}, "Indianapolis", "acode(KIND)azone(INZ047)alat(39.7767)alon(-86.1459)"},
                {{1772000, 1, 17}, "Springfield", "acode(KSPI)azone(ILZ051)alat(39.7911)alon(-89.6446)"},
                {{7215193, 1, 72}, "Cataño", "acode(TJIG)azone(PRZ001)alat(18.4381)alon(-66.1388)"},
                {{281920, 1, 2}, "Utqiaġvik", "acode(PABR)azone(AKZ202)alat(71.2539)alon(-156.7982)"},
                {{1759000, 1, 17}, "Peoria", "acode(KPIA)azone(ILZ029)alat(40.7516)alon(-89.6172)"}});
    }
    LString path() const { return dir.path().string().c_str(); }
};

std::vector<std::string> cityNames(const LVector<WCity> &list)
{
    std::vector<std::string> names;
    for (const WCity &city : list)
        names.emplace_back(city.getName());
    return names;
}

std::vector<std::string> iterateCities(WLocationDB &db, std::uint32_t stateId)
{
    std::vector<std::string> names;
    WCity city;
    if (db.initCityIterator(1, stateId) != 0)
        return names;
    while (db.getNextCity(city) == 0)
        names.emplace_back(city.getName());
    return names;
}

TEST(WLocationDB, findsFilesInItsDirectory)
{
    const Files files;
    WCity city;
    EXPECT_EQ(WLocationDB(files.path()).getCity(1772000, city), 0);
    EXPECT_STREQ(city.getName(), "Springfield");
    EXPECT_EQ(WLocationDB(files.path() + "/").getCity(1759000, city), 0);
    EXPECT_STREQ(city.getName(), "Peoria");

    // An empty directory is the current one.
    const std::filesystem::path previous = std::filesystem::current_path();
    EXPECT_EQ(WLocationDB().getCity(1714000, city), -1);
    std::filesystem::current_path(files.dir.path());
    const int result = WLocationDB("").getCity(1714000, city);
    std::filesystem::current_path(previous);
    EXPECT_EQ(result, 0);
    EXPECT_STREQ(city.getName(), "Chicago");
}

TEST(WLocationDB, listsKeepFileOrderAndTakeOnlyMatches)
{
    const Files files;
    const WLocationDB db(files.path());
    LVector<WState> states;
    states.resize(10);
    ASSERT_EQ(db.getStateList(1, states), 0);
    ASSERT_EQ(states.size(), 4u);
    EXPECT_STREQ(states[0].getName(), "Illinois");
    EXPECT_STREQ(states[1].getName(), "Indiana");
    EXPECT_STREQ(states[2].getName(), "Alaska");
    EXPECT_EQ(states[3].getId(), 72u);
    EXPECT_STREQ(states[3].getData(), "pr");

    LVector<WCity> cities;
    ASSERT_EQ(db.getCityList(1, 17, cities), 0);
    EXPECT_EQ(cityNames(cities), (std::vector<std::string>{"Chicago", "Springfield", "Peoria"}));
    EXPECT_EQ(cities[1].getId(), 1772000u);
    EXPECT_STREQ(cities[1].getData(), "acode(KSPI)azone(ILZ051)alat(39.7911)alon(-89.6446)");
    EXPECT_EQ(db.getCityList(2, 17, cities), 0);
    EXPECT_EQ(cities.size(), 0u);
    ASSERT_EQ(db.getCityList(1, 72, cities), 0);
    ASSERT_EQ(cities.size(), 1u);
    EXPECT_EQ(std::string(cities[0].getName()), "Cata\xC3\xB1o");
    EXPECT_EQ(db.getCityList(1, 35, cities), 0);
    EXPECT_EQ(cities.size(), 0u);

    LVector<WArea> areas;
    ASSERT_EQ(db.getAreaList(1, 17, areas), 0);
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_STREQ(areas[1].getName(), "Sangamon County");

    LVector<WCountry> countries;
    ASSERT_EQ(db.getCountryList(countries), 0);
    ASSERT_EQ(countries.size(), 2u);
    EXPECT_STREQ(countries[1].getName(), "Canada");
}

TEST(WLocationDB, lookupsTakeTheFirstRecordOfAnId)
{
    const Files files;
    writeRecords(files.dir.file("cities.ldt"),
        {{{1772000, 1, 17}, "Springfield", "acode(KSPI)"}, {{1772000, 1, 29}, "Springfield", "acode(KSGF)"}});
    const WLocationDB db(files.path());
    WCity city;
    ASSERT_EQ(db.getCity(1772000, city), 0);
    EXPECT_STREQ(city.getData(), "acode(KSPI)");

    EXPECT_EQ(db.getCity(1759000, city), -1);
    EXPECT_EQ(city.getStateId(), 17u);
    WState state;
    EXPECT_EQ(db.getState(35, state), 0);
    EXPECT_EQ(state.getCountryId(), 2u);
    EXPECT_EQ(db.getState(99, state), -1);
    EXPECT_STREQ(state.getName(), "Ontario");
    WArea area;
    EXPECT_EQ(db.getArea(17167, area), 0);
    EXPECT_STREQ(area.getName(), "Sangamon County");
    WCountry country;
    EXPECT_EQ(db.getCountry(2, country), 0);
    EXPECT_STREQ(country.getData(), "ca");
}

TEST(WLocationDB, iteratorsWalkStatesThenCitiesOfOneState)
{
    const Files files;
    WLocationDB db(files.path());
    ASSERT_EQ(db.initStateIterator(1), 0);
    std::vector<std::string> states;
    WState state;
    while (db.getNextState(state) == 0)
        states.emplace_back(state.getName());
    db.closeStateIterator();
    // The country is not a filter of the state iteration.
    EXPECT_EQ(states, (std::vector<std::string>{"Illinois", "Indiana", "Ontario", "Alaska", "Puerto Rico"}));

    ASSERT_EQ(db.initCityIterator(1, 17), 0);
    WCity city;
    ASSERT_EQ(db.getNextCity(city), 0);
    EXPECT_STREQ(city.getName(), "Chicago");
    // Lookups and lists may run during an iteration.
    LVector<WCity> list;
    EXPECT_EQ(db.getCityList(1, 18, list), 0);
    EXPECT_EQ(db.getCity(1836003, city), 0);
    ASSERT_EQ(db.getNextCity(city), 0);
    EXPECT_STREQ(city.getName(), "Springfield");
    ASSERT_EQ(db.getNextCity(city), 0);
    EXPECT_STREQ(city.getName(), "Peoria");
    EXPECT_EQ(db.getNextCity(city), -1);
    EXPECT_EQ(db.getNextCity(city), -1);
    EXPECT_STREQ(city.getName(), "Peoria");
    db.closeCityIterator();
    EXPECT_EQ(db.getNextCity(city), -1);

    EXPECT_EQ(iterateCities(db, 72), std::vector<std::string>{"Cataño"});
    EXPECT_TRUE(iterateCities(db, 35).empty());
}

TEST(WLocationDB, iterationsReplaceEachOtherAndAreNotCopied)
{
    const Files files;
    WLocationDB db(files.path());
    WState state;
    WCity city;
    ASSERT_EQ(db.initStateIterator(1), 0);
    ASSERT_EQ(db.getNextState(state), 0);
    ASSERT_EQ(db.initCityIterator(1, 18), 0);
    ASSERT_EQ(db.getNextCity(city), 0);
    EXPECT_STREQ(city.getName(), "Indianapolis");
    ASSERT_EQ(db.initStateIterator(1), 0);

    WLocationDB copy(db);
    EXPECT_EQ(copy.getNextState(state), -1);
    EXPECT_EQ(copy.getCity(1759000, city), 0);
    WLocationDB assigned;
    ASSERT_EQ(assigned.initCityIterator(1, 17), -1);
    assigned = db;
    EXPECT_EQ(assigned.getNextState(state), -1);
    EXPECT_EQ(iterateCities(assigned, 18), std::vector<std::string>{"Indianapolis"});

    ASSERT_EQ(db.getNextState(state), 0);
    EXPECT_STREQ(state.getName(), "Illinois");
}

TEST(WLocationDB, missingFilesFailEveryQuery)
{
    const nimbreltest::TempDir empty;
    WLocationDB db(empty.path().string().c_str());
    WCity city(1, 1, 17, "kept", "");
    EXPECT_EQ(db.initCityIterator(1, 17), -1);
    EXPECT_EQ(db.getNextCity(city), -1);
    EXPECT_EQ(db.getCity(1, city), -1);
    EXPECT_STREQ(city.getName(), "kept");
    EXPECT_EQ(db.initStateIterator(1), -1);
    WState state;
    EXPECT_EQ(db.getNextState(state), -1);
    LVector<WCity> cities;
    cities.resize(2);
    EXPECT_EQ(db.getCityList(1, 17, cities), -1);
    EXPECT_EQ(cities.size(), 2u);
    LVector<WCountry> countries;
    EXPECT_EQ(db.getCountryList(countries), -1);
    WLocation location;
    EXPECT_EQ(db.makeUSLocation(17, 1772000, location), -1);
    EXPECT_FALSE(location.isValid());
}

// Each of these files is damaged before the record of Springfield is complete.
TEST(WLocationDB, damagedFilesFailEveryQuery)
{
    const std::string chicago = "1714000,1,17,\"Chicago\",\"acode(KORD)\"\n,";
    const std::vector<std::string> damaged = {
        "",
        "\n\n",
        "no commas in this file at all",
        "1772000",
        "1772000,1,17",
        "1772000,1,17,\"Springfield\"",
        "1772000,1,17,\"Springf",
        "abc,1,17,\"Springfield\",\"acode(KSPI)\"",
        "1772000,,17,\"Springfield\",\"acode(KSPI)\"",
        "1772000,1,17,Springfield,acode(KSPI)",
        chicago + "1772000,1,17,\"Spring",
        chicago + "1772000,1,17,\"Springfield\",",
        chicago + "1772000,1,17,\"Springfield\",\"acode(KSP",
        chicago + "1772000,1,17,\"Springfield,\"acode(KSPI)\"\n",
        std::string("\"\"\"\0\xff,,,,'',\"", 13),
        std::string(5'000'000, '7'),
        "1772000,1,17,\"" + std::string(5'000'000, 'S'),
        // A NUL byte would end the name or the data early: "Spring", "acode(KS".
        chicago + "1772000,1,17,\"Spring" + std::string(1, '\0') + "field\",\"acode(KSPI)\"",
        chicago + "1772000,1,17,\"Springfield\",\"acode(KS" + std::string(1, '\0') + "PI)\"",
    };
    const Files files;
    const WLocationDB db(files.path());
    for (const std::string &content : damaged) {
        SCOPED_TRACE(content.substr(0, 80));
        files.dir.write("cities.ldt", content);
        LVector<WCity> cities;
        cities.resize(1);
        EXPECT_EQ(db.getCityList(1, 17, cities), -1);
        EXPECT_EQ(cities.size(), 1u);
        WCity city;
        EXPECT_EQ(db.getCity(1772000, city), -1);
        WLocation location;
        EXPECT_EQ(db.makeUSLocation(17, 1772000, location), -1);
        WLocationDB iterating(files.path());
        const std::vector<std::string> names = iterateCities(iterating, 17);
        EXPECT_TRUE(names.empty() || names == std::vector<std::string>{"Chicago"});
        EXPECT_EQ(iterating.getNextCity(city), -1);
    }

    // A record read before the damage is still found.
    files.dir.write("cities.ldt", chicago + "1772000,1,17,\"Spring");
    WCity city;
    EXPECT_EQ(db.getCity(1714000, city), 0);
    EXPECT_STREQ(city.getData(), "acode(KORD)");
    // Damage after a record leaves it to lookups, but fails lists and ends iterations.
    for (const std::string &after : {std::string(","), std::string("\n,1759000,1,17,Peoria,\"acode(KPIA)\"")}) {
        files.dir.write("cities.ldt", chicago + "1772000,1,17,\"Springfield\",\"acode(KSPI)\"" + after);
        EXPECT_EQ(db.getCity(1772000, city), 0);
        LVector<WCity> cities;
        EXPECT_EQ(db.getCityList(1, 17, cities), -1);
        WLocationDB iterating(files.path());
        EXPECT_EQ(iterateCities(iterating, 17), (std::vector<std::string>{"Chicago", "Springfield"}));
    }

    // A directory in place of the file reads as nothing.
    std::filesystem::remove(files.dir.file("states.ldt"));
    std::filesystem::create_directory(files.dir.file("states.ldt"));
    WState state;
    EXPECT_EQ(db.getState(17, state), -1);
    LVector<WState> states;
    EXPECT_EQ(db.getStateList(1, states), -1);
}

// Told from the file's kind alone: opening a FIFO to find out could wait for a writer.
TEST(WLocationFile, namesWhatStandsInPlaceOfAFile)
{
    const Files files;
    EXPECT_EQ(locationFileProblem(files.dir.file("cities.ldt")), WLocationFileProblem::None);
    EXPECT_EQ(locationFileProblem(files.dir.file("zipcodes.ldt")), WLocationFileProblem::Missing);
    EXPECT_EQ(locationFileProblem(files.dir.file("cities.ldt/x")), WLocationFileProblem::Missing);
    std::filesystem::create_directory(files.dir.file("folder.ldt"));
    EXPECT_EQ(locationFileProblem(files.dir.file("folder.ldt")), WLocationFileProblem::Folder);
    ASSERT_EQ(mkfifo(files.dir.file("fifo.ldt").c_str(), 0600), 0);
    EXPECT_EQ(locationFileProblem(files.dir.file("fifo.ldt")), WLocationFileProblem::Fifo);
    EXPECT_EQ(locationFileProblem("/dev/null"), WLocationFileProblem::Device);
    EXPECT_STREQ(describeLocationFileProblem(WLocationFileProblem::Fifo), "is a FIFO, not a regular file");
    EXPECT_STREQ(describeLocationFileProblem(WLocationFileProblem::None), "");
}

TEST(WLocationDB, oversizedValuesAreCutOrSaturated)
{
    const Files files;
    files.dir.write("cities.ldt",
        "1714000,1,17,\"" + std::string(5'000'000, 'C') + "\",\"acode(KORD)\"\n"
            + ",99999999999,1,17,\"Big\",\"\"\n,-5,1,17,\"Negative\",\"\"\n"
            + ",1772000,1,17,\"Springfield\",\"acode(KSPI)\"\n");
    const WLocationDB db(files.path());
    WCity city;
    ASSERT_EQ(db.getCity(1714000, city), 0);
    EXPECT_EQ(city.getName().length(), LSTREAM_MAX_TEXT);
    EXPECT_STREQ(city.getData(), "acode(KORD)");
    ASSERT_EQ(db.getCity(4294967295u, city), 0);
    EXPECT_STREQ(city.getName(), "Big");
    ASSERT_EQ(db.getCity(4294967291u, city), 0);
    EXPECT_STREQ(city.getName(), "Negative");
    LVector<WCity> cities;
    ASSERT_EQ(db.getCityList(1, 17, cities), 0);
    ASSERT_EQ(cities.size(), 4u);
    EXPECT_STREQ(cities[3].getName(), "Springfield");
}

TEST(WLocationDB, makeUSLocationJoinsCityAndState)
{
    const Files files;
    const WLocationDB db(files.path());
    WLocation location;
    ASSERT_EQ(db.makeUSLocation(17, 1772000, location), 0);
    EXPECT_TRUE(location.isValid());
    EXPECT_EQ(location.getCountry(), 1u);
    EXPECT_EQ(location.getState(), 17u);
    EXPECT_EQ(location.getArea(), 0u);
    EXPECT_EQ(location.getCity(), 1772000u);
    EXPECT_STREQ(location.getName(), "Springfield, Illinois, United States");
    EXPECT_STREQ(location.getShortState(), "il");
    LString zone;
    EXPECT_EQ(location.getCityData("azone", zone), 0);
    EXPECT_STREQ(zone, "ILZ051");

    // Names pass through as UTF-8 bytes.
    ASSERT_EQ(db.makeUSLocation(2, 281920, location), 0);
    EXPECT_EQ(std::string(location.getName()), "Utqia\xC4\xA1vik, Alaska, United States");

    // The city's own state is not checked against the one given.
    ASSERT_EQ(db.makeUSLocation(18, 1714000, location), 0);
    EXPECT_STREQ(location.getName(), "Chicago, Indiana, United States");
    EXPECT_STREQ(location.getShortState(), "in");

    EXPECT_EQ(db.makeUSLocation(17, 4805000, location), -1);
    EXPECT_EQ(db.makeUSLocation(48, 1772000, location), -1);
    EXPECT_EQ(location.getCity(), 1714000u);
}

TEST(WLocationDB, processWideInstance)
{
    const Files files;
    WLocationDB::initLocationDB("");
    WCity city;
    EXPECT_EQ(WLocationDB::getLocationDB().getCity(1772000, city), -1);
    ASSERT_EQ(WLocationDB::getLocationDB().initCityIterator(1, 17), -1);
    WLocationDB::initLocationDB(files.path());
    WLocationDB &db = WLocationDB::getLocationDB();
    EXPECT_EQ(db.getCity(1772000, city), 0);
    EXPECT_EQ(db.initStateIterator(1), 0);
    WLocationDB::closeLocationDB();
    WLocationDB::closeLocationDB();
}

} // namespace
