#include "corekit/lex.h"

#include <gtest/gtest.h>

using namespace corekit;

namespace
{

TEST(LEx, copyWithoutTextSaysSo)
{
    const LEx original(L_MEM);
    EXPECT_EQ(original.text(), nullptr);
    const LEx copy(original);
    EXPECT_EQ(copy.code(), L_MEM);
    EXPECT_STREQ(copy.text(), "No addition information");
}

TEST(LEx, keepsItsOwnCopyOfTheText)
{
    char text[] = "LTime::SetMonth -- invalid month (must be between 1 and 12)";
    LEx ex(L_RANGE, text);
    text[0] = 'X';
    EXPECT_STREQ(ex.text(), "LTime::SetMonth -- invalid month (must be between 1 and 12)");
    LEx other(L_OK, "other");
    other = ex;
    EXPECT_EQ(other.code(), L_RANGE);
    EXPECT_STREQ(other.text(), ex.text());
}

TEST(LEx, throwHelperFormsTheText)
{
    try {
        throwLEx(L_OUTPUT, "LOStream::operator<<", "text holds a double quote");
        FAIL() << "nothing thrown";
    } catch (const LEx &e) {
        EXPECT_EQ(e.code(), L_OUTPUT);
        EXPECT_STREQ(e.text(), "LOStream::operator<< -- text holds a double quote");
    }
}

} // namespace
