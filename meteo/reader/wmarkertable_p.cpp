#include "meteo/reader/wmarkertable_p.h"

#include "corekit/lex.h"

using namespace corekit;

namespace meteo
{

int WMarkerTable::addMarker(const LString &marker, int mode)
{
    if (mode != MatchWhole && mode != MatchPrefix && mode != MatchContains)
        return L_INPUT;
    for (const Entry &entry : m_entries) {
        if (entry.marker == marker)
            return -1;
    }
    m_entries.push_back(Entry{marker, mode, LString()});
    return L_OK;
}

void WMarkerTable::feed(const LString &line)
{
    for (Entry &entry : m_entries) {
        if (!entry.done && matches(entry, line)) {
            entry.waiting = true;
            return;
        }
    }
    for (Entry &entry : m_entries) {
        if (entry.waiting) {
            entry.value = line;
            entry.waiting = false;
            entry.done = true;
            return;
        }
    }
}

const LString &WMarkerTable::valueOf(const LString &marker) const
{
    static const LString none;
    for (const Entry &entry : m_entries) {
        if (entry.marker == marker)
            return entry.value;
    }
    return none;
}

bool WMarkerTable::matches(const Entry &entry, const LString &line)
{
    switch (entry.mode) {
    case MatchWhole:
        return line == entry.marker;
    case MatchContains:
        return line.contains(entry.marker);
    default:
        return line.compareLeft(entry.marker) == 1;
    }
}

} // namespace meteo
