#include "meteo/reader/wproductscanner_p.h"

#include "meteo/reader/wproduct_p.h"

using namespace corekit;

namespace meteo
{

bool WProductScanner::feed(const LString &rawLine)
{
    // Pages separate products by lines such as '<BR>' or '</PRE><BR><PRE>'; the tag is seen before stripping.
    const bool hasBreak = rawLine.contains("<BR>");
    stripHTMLTags(static_cast<const char *>(rawLine), false, m_scratch);
    m_line.assign(m_scratch.data(), m_scratch.size());
    return step(m_line, hasBreak);
}

void WProductScanner::keep(const LString &line)
{
    if (!m_text.empty())
        m_text += ' ';
    for (const char *c = line; *c; ++c) {
        if (*c == '\n')
            m_text += '\r';
        m_text += *c;
    }
}

void WProductScanner::startMessage()
{
    if (m_starts.empty() || m_starts.back() != m_text.size())
        m_starts.push_back(m_text.size());
}

// Undoes the joining of keep(): " B\r\n" becomes "B\n".
std::vector<std::string> WProductScanner::messages() const
{
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i < m_starts.size(); ++i) {
        const std::size_t end = i + 1 < m_starts.size() ? m_starts[i + 1] : m_text.size();
        std::string piece;
        for (std::size_t at = m_starts[i]; at < end; ++at) {
            const bool joiner = m_text[at] == ' ' && at > 0 && m_text[at - 1] == '\n';
            if (m_text[at] != '\r' && !joiner)
                piece += m_text[at];
        }
        if (!piece.empty())
            pieces.push_back(std::move(piece));
    }
    return pieces;
}

} // namespace meteo
