#include "corekit/lstream.h"

#include "corekit/lex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

namespace corekit
{

namespace
{

constexpr std::size_t bufferSize = 64 * 1024;

// Opens the file for reading only when it is a regular file: a FIFO without a writer would block the opening
// thread for ever, and a device could be read without end. The non-blocking open never waits for a writer.
std::FILE *openRegularFile(const char *fileName)
{
    const int fd = fileName ? ::open(fileName, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK) : -1;
    if (fd < 0)
        return nullptr;
    struct stat info {
    };
    std::FILE *file = nullptr;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        file = ::fdopen(fd, "rb");
    if (!file)
        ::close(fd);
    return file;
}

} // namespace

// ---- LOStream ----

LOStream::LOStream(const char *fileName, int append)
{
    if (!append) {
        m_file = std::fopen(fileName, "w");
        return;
    }
    if (std::FILE *probe = std::fopen(fileName, "r")) {
        m_delimiter = 1;
        std::fclose(probe);
    }
    m_file = std::fopen(fileName, "a");
}

LOStream::~LOStream()
{
    if (m_file)
        std::fclose(m_file);
}

void LOStream::insDel()
{
    if (m_delimiter)
        put(",");
    else
        m_delimiter = 1;
}

void LOStream::put(const char *text)
{
    if (!m_file || std::fputs(text, m_file) < 0)
        throw LEx(L_OUTPUT);
}

void LOStream::putInteger(std::uint32_t value)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u", static_cast<unsigned>(value));
    insDel();
    put(digits);
}

void LOStream::putCharacter(char value)
{
    const char text[] = {'\'', value, '\'', '\0'};
    insDel();
    if (!m_file || std::fwrite(text, 1, 3, m_file) != 3)
        throw LEx(L_OUTPUT);
}

LOStream &LOStream::operator<<(char value)
{
    putCharacter(value);
    return *this;
}

LOStream &LOStream::operator<<(signed char value)
{
    putCharacter(static_cast<char>(value));
    return *this;
}

LOStream &LOStream::operator<<(unsigned char value)
{
    putCharacter(static_cast<char>(value));
    return *this;
}

// Both 16-bit types widen with the sign of their 16 bits: the unsigned short 65535 is written as 4294967295.
LOStream &LOStream::operator<<(short value)
{
    putInteger(static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
    return *this;
}

LOStream &LOStream::operator<<(unsigned short value)
{
    return *this << static_cast<short>(value);
}

LOStream &LOStream::operator<<(int value)
{
    putInteger(static_cast<std::uint32_t>(value));
    return *this;
}

LOStream &LOStream::operator<<(unsigned int value)
{
    putInteger(value);
    return *this;
}

LOStream &LOStream::operator<<(long value)
{
    putInteger(static_cast<std::uint32_t>(value));
    return *this;
}

LOStream &LOStream::operator<<(unsigned long value)
{
    putInteger(static_cast<std::uint32_t>(value));
    return *this;
}

LOStream &LOStream::operator<<(const char *text)
{
    if (!m_file)
        throw LEx(L_OUTPUT);
    if (text && std::strchr(text, '"'))
        throwLEx(L_OUTPUT, "LOStream::operator<<", "a text value cannot hold a double quote");
    insDel();
    put("\"");
    put(text ? text : "");
    put("\"");
    return *this;
}

LOStream &LOStream::operator<<(const signed char *text)
{
    return *this << reinterpret_cast<const char *>(text);
}

LOStream &LOStream::operator<<(const unsigned char *text)
{
    return *this << reinterpret_cast<const char *>(text);
}

LOStream &LOStream::operator<<(const LString &text)
{
    return *this << static_cast<const char *>(text);
}

// Floating-point values are written with enough digits to read back the same value.
LOStream &LOStream::operator<<(float value)
{
    return *this << static_cast<double>(value);
}

LOStream &LOStream::operator<<(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    insDel();
    put(text);
    return *this;
}

LOStream &LOStream::operator<<(long double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg", value);
    insDel();
    put(text);
    return *this;
}

void LOStream::endl()
{
    put("\n");
}

// ---- LIStream ----
// The reader keeps its own block buffer: the location database reads whole files byte by byte on every query,
// and a call into the C library per byte would dominate that.

LIStream::LIStream(const char *fileName)
    : m_file(openRegularFile(fileName))
{
    if (m_file)
        m_buffer = std::make_unique<char[]>(bufferSize);
}

LIStream::~LIStream()
{
    if (m_file)
        std::fclose(m_file);
}

void LIStream::checkOpen() const
{
    if (!m_file)
        throw LEx(L_INPUT, "File is not open");
}

bool LIStream::refill()
{
    m_position = 0;
    m_filled = std::fread(m_buffer.get(), 1, bufferSize, m_file);
    if (m_filled == 0)
        m_eof = true;
    return m_filled != 0;
}

// The next character, or EOF (which sets the end-of-file indicator).
int LIStream::next()
{
    if (m_position == m_filled && !refill())
        return EOF;
    return static_cast<unsigned char>(m_buffer[m_position++]);
}

int LIStream::peek()
{
    if (m_position == m_filled && !refill())
        return EOF;
    return static_cast<unsigned char>(m_buffer[m_position]);
}

// Consumes characters up to and including c, or to the end of the file.
void LIStream::skipTo(char c)
{
    while (m_position < m_filled || refill()) {
        const char *begin = m_buffer.get() + m_position;
        const void *hit = std::memchr(begin, c, m_filled - m_position);
        if (hit) {
            m_position += static_cast<std::size_t>(static_cast<const char *>(hit) - begin) + 1;
            return;
        }
        m_position = m_filled;
    }
}

// Reads one text value into buffer (LSTREAM_MAX_TEXT + 1 bytes); characters beyond the limit are skipped.
// Returns the length; at the end of the file the text read so far stands, or LEx L_INPUT when endIsError.
// The text is taken a buffered block at a time: a per-character call costs more than the search itself.
unsigned long LIStream::readText(char *buffer, bool endIsError)
{
    checkOpen();
    skipTo('"');
    unsigned long length = 0;
    bool closed = false;
    while (!m_eof && !closed && (m_position < m_filled || refill())) {
        const char *begin = m_buffer.get() + m_position;
        const std::size_t available = m_filled - m_position;
        const char *quote = static_cast<const char *>(std::memchr(begin, '"', available));
        const std::size_t span = quote ? static_cast<std::size_t>(quote - begin) : available;
        const std::size_t taken = std::min<std::size_t>(span, LSTREAM_MAX_TEXT - length);
        std::memcpy(buffer + length, begin, taken);
        length += taken;
        m_position += quote ? span + 1 : span;
        closed = quote != nullptr;
    }
    buffer[length] = '\0';
    if (m_eof && endIsError)
        throw LEx(L_INPUT);
    skipTo(',');
    return length;
}

LIStream &LIStream::operator>>(LString &text)
{
    char buffer[LSTREAM_MAX_TEXT + 1];
    const unsigned long length = readText(buffer, false);
    text.assign(buffer, length);
    return *this;
}

// A C string ends at its first NUL byte, so a writer can never have put one inside a text: one there is damage, which
// would otherwise cut the text short unseen.
LIStream &LIStream::operator>>(char *text)
{
    const unsigned long length = readText(text, true);
    if (std::strlen(text) != length)
        throwLEx(L_INPUT, "LIStream::operator>>", "a text holds a NUL byte");
    return *this;
}

LIStream &LIStream::operator>>(signed char *text)
{
    return *this >> reinterpret_cast<char *>(text);
}

LIStream &LIStream::operator>>(unsigned char *text)
{
    return *this >> reinterpret_cast<char *>(text);
}

// 'x': the end of the file anywhere inside, or anything but a quote after the character, is L_INPUT.
char LIStream::readCharacter()
{
    checkOpen();
    skipTo('\'');
    const int value = m_eof ? EOF : next();
    if (value == EOF || next() != '\'')
        throw LEx(L_INPUT);
    skipTo(',');
    return static_cast<char>(value);
}

LIStream &LIStream::operator>>(char &value)
{
    value = readCharacter();
    return *this;
}

LIStream &LIStream::operator>>(signed char &value)
{
    value = static_cast<signed char>(readCharacter());
    return *this;
}

LIStream &LIStream::operator>>(unsigned char &value)
{
    value = static_cast<unsigned char>(readCharacter());
    return *this;
}

// An unsigned decimal after white space, as formatted input's "%u" reads it: a leading minus negates modulo 2^32,
// and a number beyond 32 bits saturates. False when no digit stands there.
bool LIStream::readInteger(std::uint32_t &value)
{
    checkOpen();
    int c = peek();
    while (c == ' ' || (c >= '\t' && c <= '\r'))
        c = (next(), peek());
    const bool negative = c == '-';
    if (negative || c == '+')
        c = (next(), peek());
    if (c < '0' || c > '9')
        return false;
    std::uint64_t number = 0;
    for (; c >= '0' && c <= '9'; c = peek()) {
        next();
        number = std::min<std::uint64_t>(number * 10 + static_cast<unsigned>(c - '0'), 0x100000000u);
    }
    const std::uint32_t magnitude = number > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(number);
    value = negative ? 0u - magnitude : magnitude;
    return true;
}

// Signed targets take the 32 bits as a signed value first, so 4294967295 reads back as -1 in a long too.
template<typename T>
LIStream &LIStream::readInto(T &value)
{
    std::uint32_t number = 0;
    const bool found = readInteger(number);
    skipTo(',');
    if (found) {
        if constexpr (std::is_signed_v<T>)
            value = static_cast<T>(static_cast<std::int32_t>(number));
        else
            value = static_cast<T>(number);
    }
    return *this;
}

LIStream &LIStream::operator>>(short &value)
{
    return readInto(value);
}

LIStream &LIStream::operator>>(unsigned short &value)
{
    return readInto(value);
}

LIStream &LIStream::operator>>(int &value)
{
    return readInto(value);
}

LIStream &LIStream::operator>>(unsigned int &value)
{
    return readInto(value);
}

LIStream &LIStream::operator>>(long &value)
{
    return readInto(value);
}

LIStream &LIStream::operator>>(unsigned long &value)
{
    return readInto(value);
}

// A floating-point value is the text up to the next comma, converted as the C library does; where no number
// stands, the target keeps its value.
bool LIStream::readFloat(long double &value)
{
    checkOpen();
    char text[64];
    std::size_t length = 0;
    for (int c = next(); c != EOF && c != ','; c = next()) {
        if (length + 1 < sizeof text)
            text[length++] = static_cast<char>(c);
    }
    text[length] = '\0';
    char *end = nullptr;
    const long double number = std::strtold(text, &end);
    if (end == text)
        return false;
    value = number;
    return true;
}

LIStream &LIStream::operator>>(float &value)
{
    long double number = 0;
    if (readFloat(number))
        value = static_cast<float>(number);
    return *this;
}

LIStream &LIStream::operator>>(double &value)
{
    long double number = 0;
    if (readFloat(number))
        value = static_cast<double>(number);
    return *this;
}

LIStream &LIStream::operator>>(long double &value)
{
    readFloat(value);
    return *this;
}

int LIStream::rewind()
{
    checkOpen();
    const int result = std::fseek(m_file, 0, SEEK_SET);
    if (result == 0) {
        m_position = m_filled = 0;
        m_eof = false;
    }
    return result;
}

} // namespace corekit
