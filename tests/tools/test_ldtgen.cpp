#include "tools/ldtgen/ldtwriter.h"
#include "tools/ldtgen/locationset.h"
#include "tools/ldtgen/sourcedata.h"

#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace
{

// Where Debian's weather-util-data package installs its correlation files.
const char *const packageDirectory = "/usr/share/weather-util";

// The first line on which two texts differ, with both versions of it.
std::string firstDifference(const std::string &expected, const std::string &actual)
{
    std::istringstream a(expected), b(actual);
    std::string lineA, lineB;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB)
            return "same lines, different line ends";
        if (lineA != lineB || moreA != moreB)
            return "line " + std::to_string(line) + ":\n  committed: " + lineA + "\n  generated: " + lineB;
    }
}

TEST(LdtGenerator, regeneratesTheCommittedFiles)
{
    if (!std::filesystem::exists(std::string(packageDirectory) + "/places.gz"))
        GTEST_SKIP() << "weather-util-data is not installed";
    ldtgen::SourceData source;
    ldtgen::LocationSet set;
    nimbreltest::TempDir dir;
    std::string error;
    ASSERT_TRUE(ldtgen::loadSourceData(packageDirectory, source, error)) << error;
    ASSERT_TRUE(ldtgen::buildLocationSet(source, set, error)) << error;
    ASSERT_TRUE(ldtgen::writeLocationFiles(set, dir.path().string(), error)) << error;
    for (const char *name :
        {"countries.ldt", "states.ldt", "areas.ldt", "cities.ldt", "zipcodes.ldt", "stations.ldt"}) {
        const std::string committed = nimbreltest::TempDir::read(std::string(NIMBREL_SOURCE_DIR) + "/data/" + name);
        const std::string generated = nimbreltest::TempDir::read(dir.file(name));
        ASSERT_FALSE(generated.empty()) << name;
        EXPECT_TRUE(committed == generated) << name << " differs at " << firstDifference(committed, generated);
    }
}

TEST(LdtGenerator, failsOnAMissingPackage)
{
    nimbreltest::TempDir dir;
    ldtgen::SourceData source;
    std::string error;
    EXPECT_FALSE(ldtgen::loadSourceData(dir.path().string(), source, error));
    EXPECT_NE(error.find("places.gz"), std::string::npos) << error;
}

} // namespace
