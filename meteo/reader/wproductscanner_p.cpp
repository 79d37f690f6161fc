#include "meteo/reader/wproductscanner_p.h"

#include "meteo/reader/wproduct_p.h"

bool WProductScanner::feed(const LString &rawLine)
{
    // Pages separate products by lines such as '<BR>' or '</PRE><BR><PRE>'; the tag is seen before stripping.
    const bool hasBreak = rawLine.find("<BR>") == 0;
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
