#include "corekit/lstring.h"

#include "corekit/lex.h"

#include <gtest/gtest.h>

#include <string>

using namespace corekit;

namespace
{

TEST(LString, emptyString)
{
    LString s;
    EXPECT_EQ(s.length(), 0u);
    EXPECT_EQ(s.isEmpty(), 1);
    unsigned long position = 99;
    EXPECT_EQ(s.find("", position), 0);
    EXPECT_EQ(position, 0u);
    LString out("kept");
    EXPECT_EQ(s.mid(0, 0, out), 0);
    EXPECT_STREQ(out, "");
    out = "kept";
    EXPECT_EQ(s.mid(0, 1, out), -1);
    EXPECT_EQ(s.left(1, out), -1);
    EXPECT_STREQ(out, "kept");
    EXPECT_STREQ(LString(static_cast<const char *>(nullptr)), "");
}

TEST(LString, extractionFailuresLeaveOutParametersUntouched)
{
    const LString five("abcde");
    LString out("old");
    EXPECT_EQ(five.mid(2, 3, out), 0);
    EXPECT_STREQ(out, "cde");
    out = "old";
    EXPECT_EQ(five.mid(3, 3, out), -1);
    EXPECT_EQ(five.mid(6, 0, out), -1);
    EXPECT_EQ(five.mid(1, static_cast<unsigned long>(-1), out), -1);
    EXPECT_STREQ(out, "old");

    EXPECT_EQ(LString("abc").right(10, out), -1);
    EXPECT_STREQ(out, "old");
    EXPECT_EQ(LString("abc").right(2, out), 0);
    EXPECT_STREQ(out, "bc");

    LString before("b");
    LString after("a");
    EXPECT_EQ(LString("xyz").split(",", before, after), -1);
    EXPECT_STREQ(before, "b");
    EXPECT_STREQ(after, "a");
    EXPECT_EQ(LString("x,y,z").split(",", before, after), 0);
    EXPECT_STREQ(before, "x");
    EXPECT_STREQ(after, "y,z");
    EXPECT_EQ(LString(",y").split(",", before, after), 0);
    EXPECT_STREQ(before, "");
    EXPECT_STREQ(after, "y");

    unsigned long position = 42;
    EXPECT_EQ(five.find("zz", position), -1);
    EXPECT_EQ(position, 42u);
    EXPECT_EQ(five.find("cd", position), 0);
    EXPECT_EQ(position, 2u);
}

TEST(LString, outParameterMayBeTheStringItself)
{
    LString s("abcdef");
    EXPECT_EQ(s.mid(1, 3, s), 0);
    EXPECT_STREQ(s, "bcd");
    LString t("key=value");
    LString rest;
    EXPECT_EQ(t.split("=", rest, t), 0);
    EXPECT_STREQ(rest, "key");
    EXPECT_STREQ(t, "value");
}

TEST(LString, comparesPrefixesAndSuffixes)
{
    const LString s("KJFK 121851Z");
    EXPECT_EQ(s.compareLeft("KJFK"), 1);
    EXPECT_EQ(s.compareLeft(""), 1);
    EXPECT_EQ(s.compareLeft("KJFK 121851Z more"), 0);
    EXPECT_EQ(s.compareRight("851Z"), 1);
    EXPECT_EQ(s.compareRight("X 121851Z KJFK 121851Z"), 0);
    EXPECT_EQ(s.compareRight("KJFK"), 0);
    EXPECT_EQ(LString("a7").isNumber(1), 1);
    EXPECT_EQ(LString("a7").isNumber(0), 0);
    EXPECT_EQ(LString("a7").isNumber(2), -1);
}

TEST(LString, cutsAndTrims)
{
    LString s("abc");
    EXPECT_EQ(s.cutLeft(4), -1);
    EXPECT_STREQ(s, "abc");
    EXPECT_EQ(s.cutRight(4), -1);
    EXPECT_EQ(s.cutRight(1), 0);
    EXPECT_STREQ(s, "ab");
    EXPECT_EQ(s.cutLeft(2), 0);
    EXPECT_STREQ(s, "");

    LString t("  a b ");
    EXPECT_EQ(t.leftTrim(), 2);
    EXPECT_STREQ(t, "a b ");
    EXPECT_EQ(t.rightTrim(), 1);
    EXPECT_STREQ(t, "a b");

    LString tab("\ta\t ");
    EXPECT_EQ(tab.trim(), 1);
    EXPECT_STREQ(tab, "\ta\t");

    LString blanks("   ");
    EXPECT_EQ(blanks.rightTrim(), 2);
    EXPECT_STREQ(blanks, " ");
    LString allBlank("   ");
    EXPECT_EQ(allBlank.trim(), 3);
    EXPECT_STREQ(allBlank, "");
    LString empty;
    EXPECT_EQ(empty.rightTrim(), 0);
}

TEST(LString, substitutes)
{
    LString banana("banana");
    EXPECT_EQ(banana.substitute('a', 'b'), 6);
    EXPECT_STREQ(banana, "bbnbnb");

    LString s("aXbXc");
    EXPECT_EQ(s.substitute("X", "YY"), 2);
    EXPECT_STREQ(s, "aYYbYYc");
    LString a("aaa");
    EXPECT_EQ(a.substitute("aa", "b"), 1);
    EXPECT_STREQ(a, "ba");
    LString ab("ab");
    EXPECT_EQ(ab.substitute("", "-"), 2);
    EXPECT_STREQ(ab, "a-b-");
    // The replacement is never scanned again.
    LString again("xx");
    EXPECT_EQ(again.substitute("x", "xx"), 2);
    EXPECT_STREQ(again, "xxxx");
    LString none("abc");
    EXPECT_EQ(none.substitute("z", "y"), 0);
    EXPECT_STREQ(none, "abc");

    LString line("a\r\nb\r\n");
    EXPECT_EQ(line.substitute('\r', '\0'), 2);
    EXPECT_STREQ(line, "a");
    EXPECT_EQ(line.length(), 1u);
}

TEST(LString, convertsNumbers)
{
    long n = 5;
    EXPECT_EQ(LString(" 42abc").convert(n), 0);
    EXPECT_EQ(n, 42);
    EXPECT_EQ(LString("-17").convert(n), 0);
    EXPECT_EQ(n, -17);
    n = 5;
    EXPECT_EQ(LString("abc").convert(n), -1);
    EXPECT_EQ(LString("-").convert(n), -1);
    EXPECT_EQ(LString("").convert(n), -1);
    EXPECT_EQ(LString("99999999999999999999999").convert(n), -1);
    EXPECT_EQ(n, 5);

    double d = 7.0;
    EXPECT_EQ(LString("abc").convert(d), 0);
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(LString(" 29.92in").convert(d), 0);
    EXPECT_DOUBLE_EQ(d, 29.92);
    EXPECT_EQ(LString("1e999").convert(d), -1);

    LString t("old");
    EXPECT_EQ(t.take(3.5), 0);
    EXPECT_STREQ(t, "3.500000");
    EXPECT_EQ(t.take(-7L), 0);
    EXPECT_STREQ(t, "-7");
    t.take(1e300);
    EXPECT_EQ(t.length(), 308u);
}

TEST(LString, printfAppendsAndNeverCuts)
{
    LString s("n=");
    s.printf("%d", 5);
    EXPECT_STREQ(s, "n=5");
    const std::string long_(5000, 'x');
    s.printf("[%s]", long_.c_str());
    EXPECT_EQ(s.length(), 3u + 5002u);
    EXPECT_EQ(static_cast<const char *>(s)[5004], ']');
}

TEST(LString, appendsAndConcatenates)
{
    LString a("a");
    LString &same = a + "x";
    EXPECT_EQ(&same, &a);
    EXPECT_STREQ(a, "ax");
    a + 'y';
    EXPECT_STREQ(a, "axy");
    a + static_cast<const char *>(nullptr);
    a += static_cast<const char *>(nullptr);
    EXPECT_STREQ(a, "axy");

    const LString x("a");
    const LString y("b");
    const LString xy = x + y;
    EXPECT_STREQ(xy, "ab");
    EXPECT_STREQ(x, "a");
    EXPECT_STREQ(y, "b");

    LString doubled("abc");
    doubled += doubled;
    EXPECT_STREQ(doubled, "abcabc");
    LString tail("abcdef");
    tail += static_cast<const char *>(tail) + 3;
    EXPECT_STREQ(tail, "abcdefdef");

    LString filled("zzz");
    filled.fill('-', 4);
    EXPECT_STREQ(filled, "----");
    EXPECT_EQ(filled.length(), 4u);
    filled.fill('\0', 4);
    EXPECT_EQ(filled.length(), 0u);
    EXPECT_EQ(filled.isEmpty(), 1);
}

TEST(LString, comparesBytesUnsigned)
{
    EXPECT_EQ(LString("abc") < LString("abd"), 1);
    EXPECT_EQ(LString("ab") < LString("abc"), 1);
    EXPECT_EQ(LString("B") < LString("a"), 1);
    EXPECT_EQ(LString("\xC8") > LString("z"), 1);
    EXPECT_EQ(LString("abc") == LString("abc"), 1);
    EXPECT_EQ(LString("abc") == "abd", 0);
    EXPECT_EQ(LString("abc") <= LString("abc"), 1);
    EXPECT_EQ(LString("abd") >= LString("abc"), 1);
    EXPECT_EQ(LString("abc") > LString("abc"), 0);
}

TEST(LString, copiesAreDeep)
{
    LString a("weather");
    LString b(a);
    b.cutLeft(3);
    EXPECT_STREQ(a, "weather");
    EXPECT_STREQ(b, "ther");
    a = a;
    EXPECT_STREQ(a, "weather");
    a = static_cast<const char *>(a) + 4;
    EXPECT_STREQ(a, "her");
    a = static_cast<const char *>(nullptr);
    EXPECT_STREQ(a, "");
}

} // namespace
