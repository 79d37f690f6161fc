#include "corekit/ltokenizer.h"

#include <string_view>

namespace corekit
{

LTokenizer::LTokenizer(const LString &text, const LString &separator)
    : m_text(text)
    , m_length(m_text.length())
    , m_separator(separator)
{
}

// An empty separator would never advance; it hands out the whole remainder instead.
LTokenizer &LTokenizer::operator>>(LString &token)
{
    if (eof())
        return *this;
    const std::string_view rest = std::string_view(m_text, m_length).substr(m_offset);
    const std::size_t hit = m_separator.isEmpty() ? rest.npos : rest.find(static_cast<const char *>(m_separator));
    if (hit == rest.npos) {
        token.assign(rest.data(), rest.size());
        m_offset = m_length;
        return *this;
    }
    token.assign(rest.data(), hit);
    m_offset += hit + m_separator.length();
    return *this;
}

} // namespace corekit
