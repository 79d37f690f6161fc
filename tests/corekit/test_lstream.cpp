#include "corekit/lstream.h"

#include "corekit/lex.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <sys/stat.h>

using namespace corekit;

namespace
{

using nimbreltest::TempDir;

TEST(LStream, writerAndReaderRoundTripEveryValueType)
{
    TempDir dir;
    const std::string path = dir.file("values.ldt");
    {
        LOStream out(path.c_str());
        ASSERT_EQ(out.good(), 1);
        out << 1 << "abc";
        out.endl();
        out << 2 << 'x';
        out.endl();
        out << -1 << static_cast<unsigned short>(65535) << static_cast<short>(-2) << 4294967295ul << LString("Cataño")
            << static_cast<const char *>(nullptr) << static_cast<signed char>('s') << 0.1 << 1.5f << -7L;
    }
    EXPECT_EQ(TempDir::read(path),
        "1,\"abc\"\n,2,'x'\n,4294967295,4294967295,4294967294,4294967295,\"Cataño\",\"\",'s',"
        "0.10000000000000001,1.5,4294967289");

    LIStream in(path.c_str());
    int one = 0, two = 0, minusOne = 0;
    unsigned short u16 = 0;
    short s16 = 0;
    unsigned long u32 = 0;
    long minusSeven = 0;
    LString abc, name, empty("x");
    char x = 0;
    signed char s = 0;
    double tenth = 0;
    float half = 0;
    in >> one >> abc >> two >> x >> minusOne >> u16 >> s16 >> u32 >> name >> empty >> s >> tenth >> half;
    EXPECT_EQ(in.eof(), 0);
    in >> minusSeven;
    EXPECT_EQ(one, 1);
    EXPECT_STREQ(abc, "abc");
    EXPECT_EQ(two, 2);
    EXPECT_EQ(x, 'x');
    EXPECT_EQ(minusOne, -1);
    EXPECT_EQ(u16, 65535);
    EXPECT_EQ(s16, -2);
    EXPECT_EQ(u32, 4294967295ul);
    EXPECT_STREQ(name, "Cataño");
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(s, 's');
    EXPECT_EQ(tenth, 0.1);
    EXPECT_EQ(half, 1.5f);
    EXPECT_EQ(minusSeven, -7);
    EXPECT_NE(in.eof(), 0);
}

TEST(LStream, appendingWriterStartsWithACommaOnlyOnAnExistingFile)
{
    TempDir dir;
    const std::string path = dir.file("append.ldt");
    {
        LOStream out(path.c_str(), 1);
        out << 7;
    }
    EXPECT_EQ(TempDir::read(path), "7");
    {
        LOStream out(path.c_str(), 1);
        out << 8;
        out.endl();
    }
    EXPECT_EQ(TempDir::read(path), "7,8\n");
    {
        LOStream out(path.c_str());
        out << 9;
    }
    EXPECT_EQ(TempDir::read(path), "9");
}

TEST(LStream, writerRefusesADoubleQuoteAndWritesNothing)
{
    TempDir dir;
    const std::string path = dir.file("quote.ldt");
    {
        LOStream out(path.c_str());
        out << 1;
        try {
            out << "say \"hi\"";
            FAIL() << "a text with a double quote was written";
        } catch (const LEx &e) {
            EXPECT_EQ(e.code(), L_OUTPUT);
        }
        out << 2;
    }
    EXPECT_EQ(TempDir::read(path), "1,2");
}

TEST(LStream, writerOnAFileThatCannotBeOpened)
{
    TempDir dir;
    LOStream out(dir.file("missing/dir/file.ldt").c_str());
    EXPECT_EQ(out.good(), 0);
    EXPECT_EQ(out.bad(), 1);
    EXPECT_THROW(out << 1, LEx);
    EXPECT_THROW(out.endl(), LEx);
    EXPECT_THROW(out << "text", LEx);
}

TEST(LStream, readerOnAMissingFile)
{
    LIStream in("no-such-file.ldt");
    EXPECT_EQ(in.good(), 0);
    EXPECT_EQ(in.bad(), 1);
    LString text;
    try {
        in >> text;
        FAIL() << "read from a file that is not open";
    } catch (const LEx &e) {
        EXPECT_EQ(e.code(), L_INPUT);
        EXPECT_STREQ(e.text(), "File is not open");
    }
    int number = 0;
    EXPECT_THROW(in >> number, LEx);
    EXPECT_THROW(in.rewind(), LEx);
}

// A FIFO without a writer would block the opening thread for ever; a folder reads as nothing.
TEST(LStream, readerOpensRegularFilesOnly)
{
    TempDir dir;
    const std::string fifo = dir.file("cities.ldt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path : {fifo, dir.path().string()}) {
        LIStream in(path.c_str());
        EXPECT_EQ(in.bad(), 1) << path;
        LString text;
        EXPECT_THROW(in >> text, LEx) << path;
    }
    LIStream regular(dir.write("states.ldt", "1,1,\"Alabama\",\"al\"").c_str());
    EXPECT_EQ(regular.good(), 1);
}

TEST(LStream, readerSkipsToTheNextValue)
{
    TempDir dir;
    const std::string path = dir.write("skip.ldt", "\"United States\"\n,7, junk ,\"a\"  trailing\n,'q',x9");
    LIStream in(path.c_str());
    LString text;
    int number = 0;
    in >> text;
    EXPECT_STREQ(text, "United States");
    in >> number;
    EXPECT_EQ(number, 7);
    number = 42;
    in >> number;
    EXPECT_EQ(number, 42) << "no number stands there: the target keeps its value";
    in >> text;
    EXPECT_STREQ(text, "a");
    char c = 0;
    in >> c;
    EXPECT_EQ(c, 'q');
    in >> number;
    EXPECT_EQ(number, 42);
    EXPECT_NE(in.eof(), 0);

    EXPECT_EQ(in.rewind(), 0);
    EXPECT_EQ(in.eof(), 0);
    in >> text;
    EXPECT_STREQ(text, "United States");
}

TEST(LStream, endOfFileInsideValues)
{
    TempDir dir;
    LString text("old");
    {
        LIStream in(dir.write("open-quote.ldt", "\"unterminated").c_str());
        in >> text;
        EXPECT_STREQ(text, "unterminated");
        EXPECT_NE(in.eof(), 0);
        in >> text;
        EXPECT_STREQ(text, "");
    }
    {
        char buffer[LSTREAM_MAX_TEXT + 1] = "kept";
        LIStream in(dir.write("buffer.ldt", "\"unterminated").c_str());
        EXPECT_THROW(in >> buffer, LEx);
        LIStream empty(dir.write("empty.ldt", "").c_str());
        EXPECT_THROW(empty >> buffer, LEx);
    }
    for (const char *content : {"", "'", "'x", "'xy'"}) {
        LIStream in(dir.write("char.ldt", content).c_str());
        char c = 0;
        try {
            in >> c;
            FAIL() << "character value \"" << content << "\" accepted";
        } catch (const LEx &e) {
            EXPECT_EQ(e.code(), L_INPUT);
        }
    }
}

TEST(LStream, longTextsAreCutAtTheLimit)
{
    TempDir dir;
    const std::string longText(5000, 'n');
    const std::string path = dir.write("long.ldt", "\"" + longText + "\",5");
    char buffer[LSTREAM_MAX_TEXT + 1];
    {
        LIStream in(path.c_str());
        in >> buffer;
        EXPECT_EQ(std::string(buffer), longText.substr(0, LSTREAM_MAX_TEXT));
        int number = 0;
        in >> number;
        EXPECT_EQ(number, 5);
    }
    LIStream in(path.c_str());
    LString text;
    in >> text;
    EXPECT_EQ(text.length(), LSTREAM_MAX_TEXT);
}

TEST(LStream, hugeAndNegativeNumbers)
{
    TempDir dir;
    LIStream in(dir.write("numbers.ldt", "99999999999999999999999,-5,4294967296, +3").c_str());
    unsigned int huge = 0;
    int negative = 0;
    unsigned long beyond = 0;
    int plus = 0;
    in >> huge >> negative >> beyond >> plus;
    EXPECT_EQ(huge, 4294967295u);
    EXPECT_EQ(negative, -5);
    EXPECT_EQ(beyond, 4294967295ul);
    EXPECT_EQ(plus, 3);
}

} // namespace
