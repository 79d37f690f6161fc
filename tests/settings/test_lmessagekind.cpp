#include "settings/lmessagekind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

using namespace settings;

// The command line names a kind, the settings file keys it and the window titles it: two kinds sharing any of
// these would have one of them fetched, enabled or shown in the other's place.
TEST(LMessageKind, eachKindHasItsOwnNameKeyAndTitle)
{
    std::set<std::string> names, keys, titles;
    for (const LMessageKindInfo &kind : messageKinds()) {
        EXPECT_TRUE(names.insert(kind.name).second) << kind.name;
        EXPECT_TRUE(keys.insert(kind.key).second) << kind.key;
        EXPECT_TRUE(titles.insert(kind.title).second) << kind.title;
        ASSERT_EQ(findMessageKind(kind.name), &kind) << kind.name;
        EXPECT_NE(kind.fetch, nullptr) << kind.name;
    }
    EXPECT_EQ(findMessageKind("Warnings"), nullptr);
    EXPECT_EQ(findMessageKind("warning"), nullptr);
    EXPECT_EQ(findMessageKind(""), nullptr);

    // Every kind has its key in a new settings file, once.
    for (const LMessageKindInfo &kind : messageKinds())
        EXPECT_EQ(std::count(SETTINGS_ORDER.begin(), SETTINGS_ORDER.end(), kind.kind), 1) << kind.name;
}
