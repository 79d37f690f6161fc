#include "corekit/lstring.h"

#include "corekit/lex.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace corekit
{

namespace
{

char *allocate(unsigned long n)
{
    char *buffer = static_cast<char *>(std::malloc(n + 1));
    if (!buffer)
        throw LEx(L_MEM);
    buffer[0] = '\0';
    return buffer;
}

} // namespace

LString::LString()
    : m_buffer(allocate(0))
{
}

LString::LString(const char *text)
    : m_buffer(allocate(0))
{
    if (text)
        assign(text, std::strlen(text));
}

LString::LString(const char *text, unsigned long count)
    : m_buffer(allocate(0))
{
    assign(text, count);
}

LString::LString(const LString &other)
    : LString(other.m_buffer)
{
}

LString::~LString()
{
    std::free(m_buffer);
}

LString &LString::operator=(const LString &other)
{
    if (this != &other)
        assign(other.m_buffer, other.length());
    return *this;
}

LString &LString::operator=(const char *text)
{
    if (!text)
        alloc(0);
    else if (text != m_buffer)
        assign(text, std::strlen(text));
    return *this;
}

void LString::assign(const char *text, unsigned long count)
{
    char *buffer = allocate(count);
    if (count)
        std::memcpy(buffer, text, count);
    buffer[count] = '\0';
    std::free(m_buffer);
    m_buffer = buffer;
    m_length = count;
}

void LString::alloc(unsigned long n)
{
    char *buffer = allocate(n);
    std::free(m_buffer);
    m_buffer = buffer;
    m_length = 0;
}

void LString::append(const char *text, unsigned long count)
{
    if (!count)
        return;
    // The addition may lie in this very buffer ("s += s"), which the resize below may move.
    if (std::less_equal<const char *>()(m_buffer, text) && std::less<const char *>()(text, m_buffer + m_length)) {
        const std::string copy(text, count);
        append(copy.data(), count);
        return;
    }
    char *buffer = static_cast<char *>(std::realloc(m_buffer, m_length + count + 1));
    if (!buffer)
        throw LEx(L_MEM);
    m_buffer = buffer;
    std::memcpy(m_buffer + m_length, text, count);
    m_length += count;
    m_buffer[m_length] = '\0';
}

int LString::compare(const char *s) const
{
    return std::strcmp(m_buffer, s ? s : "");
}

int LString::find(const char *pattern, unsigned long &position) const
{
    const char *hit = std::strstr(m_buffer, pattern ? pattern : "");
    if (!hit)
        return -1;
    position = static_cast<unsigned long>(hit - m_buffer);
    return 0;
}

int LString::find(const char *pattern) const
{
    unsigned long position;
    return find(pattern, position);
}

int LString::isNumber(unsigned long position) const
{
    if (position >= length())
        return -1;
    return std::isdigit(static_cast<unsigned char>(m_buffer[position])) ? 1 : 0;
}

int LString::compareLeft(const char *s) const
{
    const std::size_t n = std::strlen(s);
    return std::strncmp(m_buffer, s, n) == 0 ? 1 : 0;
}

int LString::compareRight(const char *s) const
{
    const std::size_t n = std::strlen(s);
    const unsigned long len = length();
    if (n > len)
        return 0;
    return std::memcmp(m_buffer + len - n, s, n) == 0 ? 1 : 0;
}

int LString::mid(unsigned long position, unsigned long count, LString &out) const
{
    const unsigned long len = length();
    if (position > len || count > len - position)
        return -1;
    out.assign(m_buffer + position, count);
    return 0;
}

int LString::left(unsigned long count, LString &out) const
{
    return mid(0, count, out);
}

int LString::right(unsigned long count, LString &out) const
{
    const unsigned long len = length();
    if (count > len)
        return -1;
    out.assign(m_buffer + len - count, count);
    return 0;
}

int LString::split(const char *separator, LString &before, LString &after) const
{
    unsigned long position;
    if (find(separator, position) != 0)
        return -1;
    // Copy both halves first: either out-parameter may be this string.
    const LString head(m_buffer, position);
    const LString tail(m_buffer + position + std::strlen(separator));
    before = head;
    after = tail;
    return 0;
}

int LString::cutLeft(unsigned long n)
{
    const unsigned long len = length();
    if (n > len)
        return -1;
    assign(m_buffer + n, len - n);
    return 0;
}

int LString::cutRight(unsigned long n)
{
    const unsigned long len = length();
    if (n > len)
        return -1;
    assign(m_buffer, len - n);
    return 0;
}

int LString::leftTrim()
{
    unsigned long n = 0;
    while (m_buffer[n] == ' ')
        ++n;
    if (n)
        assign(m_buffer + n, length() - n);
    return static_cast<int>(n);
}

// Keeps everything up to the last non-blank. That index starts at 0, so a text of blanks only keeps its first
// blank: "   " becomes " ".
int LString::rightTrim()
{
    const unsigned long len = length();
    unsigned long last = 0;
    for (unsigned long i = 0; i < len; ++i) {
        if (m_buffer[i] != ' ')
            last = i;
    }
    const unsigned long keep = len ? last + 1 : 0;
    if (keep != len)
        assign(m_buffer, keep);
    return static_cast<int>(len - keep);
}

int LString::trim()
{
    const int removed = leftTrim();
    return removed + rightTrim();
}

// Replacing by NUL ends the text there, and with it the scan.
int LString::substitute(char from, char to)
{
    int examined = 0;
    for (char *p = m_buffer; *p; ++p) {
        ++examined;
        if (*p == from && (*p = to) == '\0') {
            assign(m_buffer, p - m_buffer);
            break;
        }
    }
    return examined;
}

// Left to right, non-overlapping, the replacement never rescanned: "aaa" with "aa" -> "b" gives "ba". An empty
// pattern matches after every character: "ab" with "" -> "-" gives "a-b-".
int LString::substitute(const char *from, const char *to)
{
    const char *with = to ? to : "";
    const std::size_t patternLength = std::strlen(from ? from : "");
    std::string result;
    int count = 0;
    if (patternLength == 0) {
        for (const char *p = m_buffer; *p; ++p, ++count) {
            result += *p;
            result += with;
        }
    } else {
        const char *rest = m_buffer;
        for (const char *hit; (hit = std::strstr(rest, from)) != nullptr; rest = hit + patternLength, ++count) {
            result.append(rest, hit);
            result += with;
        }
        result += rest;
    }
    if (count)
        assign(result.data(), result.size());
    return count;
}

// Filling with NUL would leave an empty text in a longer buffer.
void LString::fill(char c, unsigned long n)
{
    if (c == '\0')
        n = 0;
    alloc(n);
    std::memset(m_buffer, c, n);
    m_buffer[n] = '\0';
    m_length = n;
}

// Reads a signed decimal number at the start, after white space, as formatted input's "%d" does; a number too
// large for a long is no number.
int LString::convert(long &value) const
{
    const char *p = m_buffer;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    const char *digits = (*p == '+' || *p == '-') ? p + 1 : p;
    if (!std::isdigit(static_cast<unsigned char>(*digits)))
        return -1;
    errno = 0;
    const long result = std::strtol(p, nullptr, 10);
    if (errno == ERANGE)
        return -1;
    value = result;
    return 0;
}

int LString::convert(double &value) const
{
    value = std::strtod(m_buffer, nullptr);
    return std::isinf(value) ? -1 : 0;
}

int LString::take(long value)
{
    alloc(0);
    printf("%ld", value);
    return 0;
}

int LString::take(double value)
{
    alloc(0);
    printf("%f", value);
    return 0;
}

void LString::printf(const char *format, ...)
{
    char scratch[2048];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(scratch, sizeof scratch, format, args);
    va_end(args);
    if (needed > 0 && static_cast<std::size_t>(needed) < sizeof scratch) {
        append(scratch, static_cast<unsigned long>(needed));
    } else if (needed > 0) {
        std::string large(static_cast<std::size_t>(needed), '\0');
        std::vsnprintf(large.data(), large.size() + 1, format, again);
        append(large.data(), large.size());
    }
    va_end(again);
}

LString &LString::operator+(const char *text)
{
    if (text)
        append(text, std::strlen(text));
    return *this;
}

LString &LString::operator+(char c)
{
    *this += c;
    return *this;
}

void LString::operator+=(const LString &text)
{
    append(text.m_buffer, text.length());
}

void LString::operator+=(const char *text)
{
    if (text)
        append(text, std::strlen(text));
}

// Appending a NUL would not change the text, only waste a byte of the exact-size buffer.
void LString::operator+=(char c)
{
    if (c != '\0')
        append(&c, 1);
}

LString operator+(const LString &a, const LString &b)
{
    LString result(a);
    result += b;
    return result;
}

} // namespace corekit
