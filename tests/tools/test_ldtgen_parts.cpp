#include "tools/ldtgen/geo.h"
#include "tools/ldtgen/latintext.h"
#include "tools/ldtgen/locationset.h"
#include "tools/ldtgen/placename.h"
#include "tools/ldtgen/sectionfile.h"
#include "tools/ldtgen/sourcedata.h"
#include "tools/ldtgen/statetable.h"

#include "tests/support/tempdir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace
{

using ldtgen::commonName;

TEST(CommonName, dropsTheKindOfPlace)
{
    EXPECT_EQ(commonName(100124, "Abbeville city", "AL").name, "Abbeville");
    EXPECT_FALSE(commonName(100124, "Abbeville city", "AL").designated);
    EXPECT_EQ(commonName(100124, "Abbeville city", "AL").kind, "city");
    EXPECT_EQ(commonName(100100, "Abanda CDP", "AL").name, "Abanda");
    EXPECT_EQ(commonName(100100, "Abanda CDP", "AL").kind, "CDP");
    EXPECT_TRUE(commonName(100100, "Abanda CDP", "AL").designated);
    EXPECT_EQ(commonName(7215193, "Cata\xC3\xB1o zona urbana", "PR").name, "Cata\xC3\xB1o");
    EXPECT_TRUE(commonName(7215193, "Cata\xC3\xB1o zona urbana", "PR").designated);
    EXPECT_TRUE(commonName(7206679, "Bayam\xC3\xB3n comunidad", "PR").designated);
    EXPECT_EQ(commonName(203000, "Anchorage municipality", "AK").name, "Anchorage");
    EXPECT_EQ(commonName(4916560, "Copperton metro township", "UT").name, "Copperton");
    EXPECT_EQ(commonName(5467180, "Ranson corporation", "WV").name, "Ranson");
    EXPECT_EQ(commonName(947515, "Milford city (balance)", "CT").name, "Milford");
    EXPECT_EQ(commonName(3209700, "Carson City", "NV").name, "Carson City");
    EXPECT_EQ(commonName(4055000, "Oklahoma City city", "OK").name, "Oklahoma City");
    EXPECT_EQ(commonName(4819000, "Dallas city", "TX").name, "Dallas");
}

TEST(CommonName, prefersTheNameInUse)
{
    EXPECT_EQ(commonName(622300, "El Paso de Robles (Paso Robles) city", "CA").name, "Paso Robles");
    // Massachusetts towns with a city government keep "Town" in their Census name only.
    EXPECT_EQ(commonName(2500840, "Agawam Town city", "MA").name, "Agawam");
    EXPECT_EQ(commonName(2573440, "Watertown Town city", "MA").name, "Watertown");
    EXPECT_EQ(commonName(1551050, "Mililani Town CDP", "HI").name, "Mililani Town");
    EXPECT_EQ(commonName(4752006, "Nashville-Davidson metropolitan government (balance)", "TN").name, "Nashville");
    EXPECT_EQ(commonName(2148006, "Louisville/Jefferson County metro government (balance)", "KY").name, "Louisville");
    EXPECT_EQ(commonName(1571550, "Urban Honolulu CDP", "HI").name, "Honolulu");
    EXPECT_TRUE(commonName(1571550, "Urban Honolulu CDP", "HI").designated);
    EXPECT_EQ(commonName(1608830, "Boise City city", "ID").name, "Boise");
    EXPECT_EQ(commonName(4007300, "Boise City city", "OK").name, "Boise City");
}

TEST(LatinText, composesLettersAndMarks)
{
    std::string out;
    ASSERT_TRUE(ldtgen::composeLatin("Utqiag\xCC\x87vik", out));
    EXPECT_EQ(out, "Utqia\xC4\xA1vik");
    ASSERT_TRUE(ldtgen::composeLatin("Can\xCC\x83o\xCC\x81n", out));
    EXPECT_EQ(out, "Ca\xC3\xB1\xC3\xB3n");
    ASSERT_TRUE(ldtgen::composeLatin("Cata\xC3\xB1o", out));
    EXPECT_EQ(out, "Cata\xC3\xB1o");
    ASSERT_TRUE(ldtgen::composeLatin("", out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(ldtgen::composeLatin("\u0301abc", out)) << "a mark with no letter before it";
    EXPECT_FALSE(ldtgen::composeLatin("q\xCC\x81", out)) << "no precomposed q with acute";
    EXPECT_FALSE(ldtgen::composeLatin("n\xCC\x83\xCC\x81", out)) << "a second mark on the composed letter";
    EXPECT_FALSE(ldtgen::composeLatin("Cata\xC3", out)) << "cut sequence";
    EXPECT_FALSE(ldtgen::composeLatin("\xC0\xAF", out)) << "overlong slash";
    EXPECT_FALSE(ldtgen::composeLatin("\xED\xA0\x80", out)) << "surrogate";
    EXPECT_FALSE(ldtgen::composeLatin("\xF5\x80\x80\x80", out)) << "beyond U+10FFFF";
    EXPECT_FALSE(ldtgen::composeLatin("a\x80", out)) << "stray continuation byte";
}

TEST(LatinText, foldsForOrdering)
{
    EXPECT_EQ(ldtgen::foldLatin("Cata\xC3\xB1o"), "catano");
    EXPECT_EQ(ldtgen::foldLatin("Utqia\xC4\xA1vik"), "utqiagvik");
    EXPECT_EQ(ldtgen::foldLatin("\u00C9den"), "eden");
    EXPECT_EQ(ldtgen::foldLatin("Coeur d'Alene"), "coeur d'alene");
    EXPECT_EQ(ldtgen::foldLatin("\xE2\x80\x94"), "\xE2\x80\x94") << "unknown characters stay";
}

TEST(Geo, formatsShortDegrees)
{
    EXPECT_EQ(ldtgen::formatDegrees(0.7301942), "41.837");
    EXPECT_EQ(ldtgen::formatDegrees(-1.5303909), "-87.6849");
    EXPECT_EQ(ldtgen::formatDegrees(std::numbers::pi / 4), "45");
    EXPECT_EQ(ldtgen::formatDegrees(0), "0");
    EXPECT_EQ(ldtgen::formatDegrees(-1e-9), "0");
    EXPECT_EQ(ldtgen::formatDegrees(-std::numbers::pi / 2), "-90");
}

TEST(Geo, measuresArcs)
{
    const ldtgen::GeoPoint chicago{0.7301942, -1.5303909};
    const ldtgen::GeoPoint newYork{0.7106613, -1.2904641};
    EXPECT_NEAR(ldtgen::distanceKm(chicago, newYork), 1150, 15);
    EXPECT_DOUBLE_EQ(ldtgen::distanceKm(chicago, newYork), ldtgen::distanceKm(newYork, chicago));
    EXPECT_EQ(ldtgen::distanceKm(chicago, chicago), 0);
    const ldtgen::GeoPoint east{0, std::numbers::pi - 0.001}, west{0, -std::numbers::pi + 0.001};
    EXPECT_NEAR(ldtgen::distanceKm(east, west), 0.002 * 6371.0, 1e-6) << "across the date line";
}

TEST(SourceData, parsesValues)
{
    ldtgen::GeoPoint point;
    ASSERT_TRUE(ldtgen::parsePoint("(0.5775578, -1.4927283)", point));
    EXPECT_DOUBLE_EQ(point.lat, 0.5775578);
    EXPECT_DOUBLE_EQ(point.lon, -1.4927283);
    for (const char *bad : {"None", "", "(0.5, -1.4", "0.5, -1.4)", "(0.5,-1.4)", "(a, b)", "(0.5x, -1.4)"})
        EXPECT_FALSE(ldtgen::parsePoint(bad, point)) << bad;
    EXPECT_EQ(ldtgen::quotedCode("('kalx', 0.0070861)"), "kalx");
    EXPECT_EQ(ldtgen::quotedCode("('kalx"), "");
    EXPECT_EQ(ldtgen::quotedCode(""), "");
}

std::string writeGzip(const nimbreltest::TempDir &dir, const char *name, const std::string &text)
{
    const std::string path = dir.file(name);
    gzFile file = gzopen(path.c_str(), "wb");
    gzwrite(file, text.data(), static_cast<unsigned>(text.size()));
    gzclose(file);
    return path;
}

TEST(SectionFile, readsSectionsOfACompressedFile)
{
    nimbreltest::TempDir dir;
    const std::string path = writeGzip(dir, "stations.gz",
        "# generated\n\n[kord]\ncomment = first\ncomment = second\ndescription = Chicago O'Hare, IL, US\n"
        "\n[k1a9]\nlocation = None\n");
    std::vector<ldtgen::Section> sections;
    std::string error;
    ASSERT_TRUE(ldtgen::readSectionFile(path, sections, error)) << error;
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].name, "kord");
    EXPECT_EQ(sections[0].value("comment"), "first");
    EXPECT_EQ(sections[0].value("description"), "Chicago O'Hare, IL, US");
    EXPECT_EQ(sections[0].value("zone"), "");
    EXPECT_EQ(sections[1].value("location"), "None");
}

TEST(SectionFile, refusesBrokenFiles)
{
    nimbreltest::TempDir dir;
    std::vector<ldtgen::Section> sections;
    std::string error;
    EXPECT_FALSE(ldtgen::readSectionFile(dir.file("none.gz"), sections, error));
    EXPECT_FALSE(ldtgen::readSectionFile(writeGzip(dir, "a.gz", "key = value outside\n"), sections, error));
    EXPECT_FALSE(ldtgen::readSectionFile(writeGzip(dir, "b.gz", "[kord]\nno separator\n"), sections, error));
    EXPECT_NE(error.find("no separator"), std::string::npos) << error;
    const std::string whole = nimbreltest::TempDir::read(writeGzip(dir, "c.gz", std::string(20000, 'x') + "\n"));
    const std::string cut = dir.write("cut.gz", whole.substr(0, whole.size() / 2));
    EXPECT_FALSE(ldtgen::readSectionFile(cut, sections, error)) << "truncated gzip data";
}

// A small Illinois and Indiana: radians near Chicago, Springfield and Gary, and far to the east of Springfield a
// designated place of the same name.
ldtgen::SourceData smallSource()
{
    ldtgen::SourceData source;
    source.counties = {{17031, "Cook County", "IL", {0.7303, -1.5302}, "", ""},
        {17167, "Sangamon County", "IL", {0.6950, -1.5650}, "", ""},
        {17183, "Vermilion County", "IL", {0.7010, -1.5010}, "", ""},
        {18089, "Lake County", "IN", {0.7234, -1.5190}, "", ""},
        {78010, "St. Croix Island", "VI", {0.3100, -1.1300}, "", ""}};
    source.subdivisions = {
        {17031, {0.7300, -1.5300}}, {17167, {0.6957, -1.5655}}, {17183, {0.6990, -1.5020}}, {18089, {0.7240, -1.5190}}};
    source.stations = {{"kord", {0.7318, -1.5310}, true, true}, {"kmdw", {0.7294, -1.5298}, true, true},
        {"k1a9", {0.6960, -1.5640}, true, true}, {"kspi", {0.6953, -1.5669}, true, true},
        {"kgry", {0.7242, -1.5195}, true, true}, {"cyyz", {0.7620, -1.3855}, true, true},
        {"kzzz", {0.7241, -1.5196}, false, true}};
    source.zones = {{"ilz104", {0.7300, -1.5300}, true}, {"ilz051", {0.6955, -1.5660}, true},
        {"inz001", {0.7230, -1.5180}, true}, {"inz002", {0.7230, -1.5181}, false}};
    source.places = {{1714000, "Chicago city", "IL", {0.7302, -1.5304}, "kmdw", "ilz104"},
        {1772000, "Springfield city", "IL", {0.6956, -1.5656}, "k1a9", "ilz051"},
        {1772010, "Springfield CDP", "IL", {0.7000, -1.5000}, "kspi", "ilz051"},
        {1721000, "\u00C9den village", "IL", {0.7100, -1.5400}, "kspi", "ilz051"},
        {1872000, "Springfield CDP", "IN", {0.7240, -1.5193}, "cyyz", "ilz104"},
        {1827000, "Gary city", "IN", {0.7243, -1.5194}, "kgry", "inz001"},
        {1827010, "Gary CDP", "IN", {0.7244, -1.5195}, "kgry", "inz001"},
        {7800001, "Charlotte Amalie", "VI", {0.3200, -1.1330}, "tist", "viz001"}};
    source.zipAreas = {{"62701", {0.6956, -1.5656}}, {"46402", {0.7243, -1.5194}}, {"00802", {0.3200, -1.1330}}};
    return source;
}

// The set built from the small source, which builds without error.
ldtgen::LocationSet smallSet()
{
    ldtgen::LocationSet set;
    std::string error;
    EXPECT_TRUE(ldtgen::buildLocationSet(smallSource(), set, error)) << error;
    return set;
}

TEST(LocationSet, buildsStatesAreasAndCities)
{
    const ldtgen::LocationSet set = smallSet();
    ASSERT_EQ(set.states.size(), 2u);
    EXPECT_EQ(set.states[0].id, 17u);
    EXPECT_EQ(set.states[0].name, "Illinois");
    EXPECT_EQ(set.states[1].data, "in");
    ASSERT_EQ(set.areas.size(), 4u);
    EXPECT_EQ(set.areas[3].state, 18u);
    ASSERT_EQ(set.cities.size(), 6u);
    const char *order[] = {"Chicago", "\u00C9den", "Springfield", "Springfield", "Gary", "Springfield"};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(set.cities[i].name, order[i]) << i;
    EXPECT_EQ(set.cities[0].data, "acode(KORD)azone(ILZ104)alat(41.8374)alon(-87.6855)") << "principal station";
    EXPECT_EQ(set.cities[2].data.substr(0, 24), "acode(KSPI)azone(ILZ051)") << "k1a9 has a digit";
    EXPECT_EQ(set.cities[5].data.substr(0, 24), "acode(KGRY)azone(INZ001)") << "no Canadian station, no Illinois zone";
    EXPECT_EQ(set.counts.principalStations, 1u);
    EXPECT_EQ(set.counts.stationsReplaced, 2u);
    EXPECT_EQ(set.counts.zonesReplaced, 1u);
    EXPECT_EQ(set.counts.outsideStates, 1u);
}

// A designated place far from the town of its name stays, and both are told apart by county; one within 10 km is
// the town itself.
TEST(LocationSet, keepsDistantNamesakesWithTheirCounties)
{
    const ldtgen::LocationSet set = smallSet();
    ASSERT_EQ(set.cities.size(), 6u);
    EXPECT_EQ(set.cities[2].id, 1772000u);
    EXPECT_EQ(set.cities[3].id, 1772010u);
    const std::string sangamon = ")acounty(Sangamon County)";
    const std::string &data = set.cities[2].data;
    EXPECT_EQ(data.substr(data.size() - std::min(data.size(), sangamon.size())), sangamon) << "the last token";
    EXPECT_NE(set.cities[3].data.find("acounty(Vermilion County)"), std::string::npos) << set.cities[3].data;
    EXPECT_EQ(set.cities[4].id, 1827000u) << "Gary CDP lies in Gary";
    EXPECT_EQ(set.cities[5].data.find("acounty"), std::string::npos) << "one Springfield in Indiana";
    EXPECT_EQ(set.counts.designatedDropped, 1u);
    EXPECT_EQ(set.counts.countiesNamed, 2u);

    // A village beside the city of its name: both in Lake County, so the kind tells them apart.
    ldtgen::SourceData village = smallSource();
    village.places.push_back({1827020, "Gary village", "IN", {0.7250, -1.5200}, "kgry", "inz001"});
    ldtgen::LocationSet withVillage;
    std::string error;
    ASSERT_TRUE(ldtgen::buildLocationSet(village, withVillage, error)) << error;
    ASSERT_EQ(withVillage.cities.size(), 7u);
    EXPECT_NE(withVillage.cities[4].data.find("acounty(Lake County, city)"), std::string::npos);
    EXPECT_NE(withVillage.cities[5].data.find("acounty(Lake County, village)"), std::string::npos);
}

TEST(LocationSet, listsZipCodesAndStations)
{
    const ldtgen::LocationSet set = smallSet();
    ASSERT_EQ(set.zipCodes.size(), 2u);
    EXPECT_EQ(set.zipCodes[0].id, 46402u);
    EXPECT_EQ(set.zipCodes[0].state, 18u);
    EXPECT_EQ(set.zipCodes[0].name, "46402");
    EXPECT_EQ(set.zipCodes[0].data.rfind("acity(1827000)adist(", 0), 0u) << set.zipCodes[0].data;
    EXPECT_EQ(set.zipCodes[1].data, "acity(1772000)adist(0.0)");
    EXPECT_EQ(set.counts.zipsOutsideStates, 1u) << "the Virgin Islands";
    ASSERT_EQ(set.stations.size(), 3u);
    EXPECT_EQ(set.stations[0].id, 1u);
    EXPECT_EQ(set.stations[0].name, "KGRY");
    EXPECT_EQ(set.stations[2].name, "KSPI");
    EXPECT_EQ(set.stations[2].data, "alat(39.8378)alon(-89.7768)");

    EXPECT_STREQ(ldtgen::zipState("50309"), "IA");
    EXPECT_STREQ(ldtgen::zipState("00601"), "PR");
    EXPECT_STREQ(ldtgen::zipState("20101"), "VA") << "Dulles lies among the District's prefixes";
    EXPECT_STREQ(ldtgen::zipState("88510"), "TX");
    for (const char *outside : {"00802", "96910", "96799", "09001", "5030", "5030x", "123456"})
        EXPECT_EQ(ldtgen::zipState(outside), nullptr) << outside;
}

TEST(LocationSet, refusesDataItCannotWrite)
{
    ldtgen::LocationSet set;
    std::string error;
    ldtgen::SourceData quoted = smallSource();
    quoted.places[1].name = "The \"Springfield\" city";
    EXPECT_FALSE(ldtgen::buildLocationSet(quoted, set, error));
    EXPECT_NE(error.find("1772000"), std::string::npos) << error;

    ldtgen::SourceData noZone = smallSource();
    noZone.zones.erase(noZone.zones.begin() + 2);
    EXPECT_FALSE(ldtgen::buildLocationSet(noZone, set, error)) << "Indiana has no zone with a centre left";
    EXPECT_NE(error.find("1872000"), std::string::npos) << error;

    ldtgen::SourceData noPrincipal = smallSource();
    noPrincipal.stations.erase(noPrincipal.stations.begin());
    EXPECT_FALSE(ldtgen::buildLocationSet(noPrincipal, set, error));
    EXPECT_NE(error.find("kord"), std::string::npos) << error;

    ldtgen::SourceData noCounty = smallSource();
    noCounty.subdivisions.pop_back();
    noCounty.places.push_back({1872010, "Gary CDP", "IN", {0.7100, -1.5100}, "kgry", "inz001"});
    EXPECT_FALSE(ldtgen::buildLocationSet(noCounty, set, error)) << "Indiana's Gary places have no subdivision";
    EXPECT_NE(error.find("1827000"), std::string::npos) << error;

    ldtgen::SourceData twoCodes = smallSource();
    twoCodes.counties.push_back({19001, "Adair County", "IL", {0.7, -1.6}, "", ""});
    EXPECT_FALSE(ldtgen::buildLocationSet(twoCodes, set, error));
    EXPECT_NE(error.find("IL"), std::string::npos) << error;
}

} // namespace
