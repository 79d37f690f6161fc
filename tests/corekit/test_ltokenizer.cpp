#include "corekit/ltokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corekit;

namespace
{

std::vector<std::string> tokens(const char *text, const char *separator)
{
    LTokenizer tokenizer{LString(text), LString(separator)};
    std::vector<std::string> result;
    while (!tokenizer.eof()) {
        LString token;
        tokenizer >> token;
        result.emplace_back(token);
    }
    return result;
}

TEST(LTokenizer, handsOutPiecesBetweenSeparators)
{
    EXPECT_EQ(tokens("a,,b,", ","), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(tokens(",a", ","), (std::vector<std::string>{"", "a"}));
    EXPECT_EQ(tokens("abc", ","), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(tokens("KJFK 121851Z  24015KT", " "), (std::vector<std::string>{"KJFK", "121851Z", "", "24015KT"}));
    EXPECT_EQ(tokens("1<>2<3<>", "<>"), (std::vector<std::string>{"1", "2<3"}));
    EXPECT_EQ(tokens("", ","), std::vector<std::string>{});
}

TEST(LTokenizer, readAtTheEndLeavesTheToken)
{
    LTokenizer tokenizer{LString(""), LString(",")};
    EXPECT_TRUE(tokenizer.eof());
    LString token("kept");
    tokenizer >> token;
    EXPECT_STREQ(token, "kept");

    LTokenizer chained{LString("a b c"), LString(" ")};
    LString first;
    LString second;
    chained >> first >> second;
    EXPECT_STREQ(first, "a");
    EXPECT_STREQ(second, "b");
    LTokenizer copy(chained);
    copy >> first;
    EXPECT_STREQ(first, "c");
    EXPECT_TRUE(copy.eof());
    EXPECT_FALSE(chained.eof());
}

TEST(LTokenizer, emptySeparatorHandsOutTheWholeRemainder)
{
    EXPECT_EQ(tokens("abc", ""), (std::vector<std::string>{"abc"}));
}

TEST(LTokenizer, manySeparatorsStayLinear)
{
    // A megabyte of blanks is a million empty tokens; cutting the text at each one would take hours.
    const std::string blanks(1 << 20, ' ');
    LTokenizer tokenizer{LString(blanks.c_str()), LString(" ")};
    unsigned long count = 0;
    LString token;
    while (!tokenizer.eof()) {
        tokenizer >> token;
        ++count;
    }
    EXPECT_EQ(count, blanks.size());
}

} // namespace
