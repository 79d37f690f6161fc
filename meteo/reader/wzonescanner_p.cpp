#include "meteo/reader/wzonescanner_p.h"

#include "meteo/reader/wproduct_p.h"

using namespace corekit;

namespace meteo
{

namespace
{

// The line without its tags, line feed and outer blanks, ready to be joined to a header.
std::string headerPiece(const LString &line)
{
    LString piece(line);
    stripHTMLTags(piece, true);
    return std::string(static_cast<const char *>(piece));
}

} // namespace

WZoneScanner::WZoneScanner(const LString &zone, bool firstOnly)
    : m_zone(zone)
    , m_firstOnly(firstOnly)
{
}

bool WZoneScanner::step(const LString &line, bool hasBreak)
{
    if (!m_header.empty()) {
        const bool continues = !hasBreak && isZoneContinuation(line);
        if (continues)
            m_header += headerPiece(line);
        if (continues && !endsWithExpiryGroup(m_header.c_str()))
            return true;
        const bool more = finishHeader();
        if (continues || !more)
            return more;
    }
    if (!isZoneHeader(line))
        return messageLine(line, hasBreak);
    if (endsWithExpiryGroup(line))
        return header(line);
    m_header = headerPiece(line);
    return true;
}

// Judges a header that was joined from several lines, or that ended early because the next line did not continue
// it; the line after it is then handled on its own.
bool WZoneScanner::finishHeader()
{
    const LString complete((m_header + '\n').c_str());
    m_header.clear();
    return header(complete);
}

bool WZoneScanner::header(const LString &line)
{
    const bool wasInside = m_inside;
    m_inside = inZone(m_zone, line);
    if (m_inside)
        startMessage();
    return !(wasInside && m_firstOnly);
}

bool WZoneScanner::messageLine(const LString &line, bool hasBreak)
{
    if (!m_inside)
        return true;
    if (hasBreak || line.contains(ZONE_END_STRING) || line.contains(ZONE_END_STRING2)
        || line.contains(ZONE_END_STRING3)) {
        m_inside = false;
        return !m_firstOnly;
    }
    keep(line);
    return true;
}

} // namespace meteo
