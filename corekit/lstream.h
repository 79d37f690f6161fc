#pragma once

#include "corekit/corekit_export.h"
#include "corekit/lstring.h"

#include <cstdint>
#include <cstdio>
#include <memory>

namespace corekit
{

// Record files: values separated by commas, written and read back one by one.
//   1,"abc"
//   ,2,'x'
// Texts stand in double quotes (with no escape, so a text can never hold one), characters in single quotes,
// integers as the unsigned decimal of their 32 bits (-1 is written 4294967295 and reads back as -1).
// The writer puts a comma before every value but the first it writes; endl() starts a new line without resetting
// that, so every later line begins with the comma. The reader skips whatever stands between a value and the next
// comma, line breaks included.

// The longest text value a reader delivers; the rest of a longer text is skipped. A caller's char buffer given to
// the reader must hold at least LSTREAM_MAX_TEXT + 1 bytes.
inline constexpr unsigned long LSTREAM_MAX_TEXT = 1023;

class COREKIT_EXPORT LOStream
{
public:
    // append 0 creates or truncates the file; otherwise the stream appends, and to an existing file with a
    // leading comma. A file that cannot be opened leaves the stream bad; every write then throws L_OUTPUT.
    LOStream(const char *fileName, int append = 0);
    ~LOStream();
    LOStream(const LOStream &) = delete;
    LOStream &operator=(const LOStream &) = delete;

    LOStream &operator<<(char value);
    LOStream &operator<<(signed char value);
    LOStream &operator<<(unsigned char value);
    LOStream &operator<<(short value);
    LOStream &operator<<(unsigned short value);
    LOStream &operator<<(int value);
    LOStream &operator<<(unsigned int value);
    LOStream &operator<<(long value);
    LOStream &operator<<(unsigned long value);
    // A text holding a double quote would read back wrong: it is refused with L_OUTPUT and nothing is written.
    LOStream &operator<<(const char *text);
    LOStream &operator<<(const signed char *text);
    LOStream &operator<<(const unsigned char *text);
    LOStream &operator<<(const LString &text);
    LOStream &operator<<(float value);
    LOStream &operator<<(double value);
    LOStream &operator<<(long double value);

    void endl();
    int good() const { return m_file ? 1 : 0; }
    int bad() const { return m_file ? 0 : 1; }

private:
    void insDel();
    void put(const char *text);
    void putInteger(std::uint32_t value);
    void putCharacter(char value);

    int m_delimiter = 0;
    std::FILE *m_file = nullptr;
};

class COREKIT_EXPORT LIStream
{
public:
    // A file that cannot be opened, or that is not a regular file (a FIFO, a device, a folder), leaves the stream
    // bad; the first read then throws L_INPUT "File is not open".
    explicit LIStream(const char *fileName);
    ~LIStream();
    LIStream(const LIStream &) = delete;
    LIStream &operator=(const LIStream &) = delete;

    // At the end of the file these yield what was read so far, without an exception.
    LIStream &operator>>(LString &text);
    // Into a buffer of at least LSTREAM_MAX_TEXT + 1 bytes; the end of the file inside the value, or a NUL byte in
    // it, throws L_INPUT.
    LIStream &operator>>(char *text);
    LIStream &operator>>(signed char *text);
    LIStream &operator>>(unsigned char *text);
    LIStream &operator>>(char &value);
    LIStream &operator>>(signed char &value);
    LIStream &operator>>(unsigned char &value);
    // Where no number stands, the target keeps its value.
    LIStream &operator>>(short &value);
    LIStream &operator>>(unsigned short &value);
    LIStream &operator>>(int &value);
    LIStream &operator>>(unsigned int &value);
    LIStream &operator>>(long &value);
    LIStream &operator>>(unsigned long &value);
    LIStream &operator>>(float &value);
    LIStream &operator>>(double &value);
    LIStream &operator>>(long double &value);

    int rewind();
    // Non-zero once a read has met the end of the file.
    int eof() const { return m_eof ? 1 : 0; }
    int good() const { return m_file ? 1 : 0; }
    int bad() const { return m_file ? 0 : 1; }

private:
    void checkOpen() const;
    int next();
    int peek();
    bool refill();
    void skipTo(char c);
    unsigned long readText(char *buffer, bool endIsError);
    char readCharacter();
    bool readInteger(std::uint32_t &value);
    bool readFloat(long double &value);
    template<typename T>
    LIStream &readInto(T &value);

    std::FILE *m_file = nullptr;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_position = 0;
    std::size_t m_filled = 0;
    bool m_eof = false;
};

} // namespace corekit
