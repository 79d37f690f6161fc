#include "corekit/ltokenizer.h"

#include <cstring>

LTokenizer::LTokenizer(const LString &text, const LString &separator) : m_text(text), m_separator(separator) { }

// An empty separator would never advance; it hands out the whole remainder instead.
LTokenizer &LTokenizer::operator>>(LString &token)
{
    if (eof())
        return *this;
    const char *rest = static_cast<const char *>(m_text) + m_offset;
    const char *hit = m_separator.isEmpty() ? nullptr : std::strstr(rest, m_separator);
    if (!hit) {
        const unsigned long count = std::strlen(rest);
        token.assign(rest, count);
        m_offset += count;
        return *this;
    }
    token.assign(rest, static_cast<unsigned long>(hit - rest));
    m_offset += static_cast<unsigned long>(hit - rest) + m_separator.length();
    return *this;
}
