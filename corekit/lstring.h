#pragma once

#include "corekit/corekit_export.h"

namespace corekit
{

// The system's string: 8-bit characters in one NUL-terminated heap buffer of exactly length + 1 bytes, with no
// spare capacity. Index failures are reported as -1 results that leave every argument untouched; only a failed
// allocation throws (LEx with L_MEM).
//
// The length is kept beside the buffer and appends resize the buffer in place where the allocator can, so that
// neither searching for the end nor copying the old text makes a long series of appends quadratic. The buffer is
// only ever written through the string's own operations.
class COREKIT_EXPORT LString
{
public:
    LString();
    LString(const char *text);
    LString(const char *text, unsigned long count);
    LString(const LString &other);
    virtual ~LString();

    LString &operator=(const LString &other);
    LString &operator=(const char *text);
    // Replaces the text by the first count bytes at text (which may point into this string).
    void assign(const char *text, unsigned long count);

    operator const char *() const { return m_buffer; }

    unsigned long length() const { return m_length; }
    int isEmpty() const { return m_length == 0 ? 1 : 0; }
    int find(const char *pattern, unsigned long &position) const;
    int find(const char *pattern) const;
    // Whether pattern occurs anywhere in the text: find's 0 means "found", not "at position 0".
    bool contains(const char *pattern) const { return find(pattern) == 0; }
    int isNumber(unsigned long position) const;
    int compareLeft(const char *s) const;
    int compareRight(const char *s) const;

    int mid(unsigned long position, unsigned long count, LString &out) const;
    int left(unsigned long count, LString &out) const;
    int right(unsigned long count, LString &out) const;
    int split(const char *separator, LString &before, LString &after) const;

    int cutLeft(unsigned long n);
    int cutRight(unsigned long n);
    int leftTrim();
    int rightTrim();
    int trim();
    int substitute(char from, char to);
    int substitute(const char *from, const char *to);
    void fill(char c, unsigned long n);

    int convert(long &value) const;
    int convert(double &value) const;
    int take(long value);
    int take(double value);
    // Appends the formatted text; any length is formatted whole.
    void printf(const char *format, ...) __attribute__((format(printf, 2, 3)));

    // Append to this string and return it (they do not make a new string).
    LString &operator+(const char *text);
    LString &operator+(char c);
    void operator+=(const LString &text);
    void operator+=(const char *text);
    void operator+=(char c);

    int operator==(const LString &s) const { return compare(s.m_buffer) == 0; }
    int operator<(const LString &s) const { return compare(s.m_buffer) < 0; }
    int operator>(const LString &s) const { return compare(s.m_buffer) > 0; }
    int operator<=(const LString &s) const { return compare(s.m_buffer) <= 0; }
    int operator>=(const LString &s) const { return compare(s.m_buffer) >= 0; }
    int operator==(const char *s) const { return compare(s) == 0; }
    int operator<(const char *s) const { return compare(s) < 0; }
    int operator>(const char *s) const { return compare(s) > 0; }
    int operator<=(const char *s) const { return compare(s) <= 0; }
    int operator>=(const char *s) const { return compare(s) >= 0; }

private:
    void alloc(unsigned long n);
    void append(const char *text, unsigned long count);
    int compare(const char *s) const;

    char *m_buffer;
    unsigned long m_length = 0;
};

// A new string holding a followed by b; neither operand changes.
COREKIT_EXPORT LString operator+(const LString &a, const LString &b);

} // namespace corekit
