#include "corekit/lvector.h"

#include "corekit/lstring.h"

#include <gtest/gtest.h>

using namespace corekit;

namespace
{

TEST(LVector, resizeKeepsTheFirstElements)
{
    LVector<LString> list;
    EXPECT_EQ(list.size(), 0u);
    list.resize(10);
    for (std::uint32_t i = 0; i < 10; ++i)
        list[i].printf("%u", i);
    list.resize(4);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_STREQ(list[3], "3");
    list.resize(6);
    EXPECT_STREQ(list[3], "3");
    EXPECT_STREQ(list[5], "");
    list.resize(0);
    EXPECT_EQ(list.size(), 0u);
}

TEST(LVector, indexOutsideThrowsRange)
{
    LVector<int> list;
    list.resize(2);
    try {
        list[2] = 1;
        FAIL() << "index 2 of 2 accepted";
    } catch (const LEx &e) {
        EXPECT_EQ(e.code(), L_RANGE);
    }
    const LVector<int> &view = list;
    EXPECT_THROW(view[7], LEx);
}

TEST(LVector, copiesAreDeep)
{
    LVector<LString> a;
    a.resize(2);
    a[0] = "Springfield";
    LVector<LString> b(a);
    b[0] = "Peoria";
    EXPECT_STREQ(a[0], "Springfield");
    a = b;
    EXPECT_STREQ(a[0], "Peoria");
    a = a;
    EXPECT_EQ(a.size(), 2u);
}

} // namespace
