#pragma once

#include "corekit/lstring.h"

#include <vector>

namespace meteo
{

// Picks values out of a page by the lines that precede them: once a line matches a marker, the next line fed is
// that marker's value. The current-conditions page puts its report on the line after the one reading "ob".
// Private to the library; the tests reach it through the internal library.
class WMarkerTable
{
public:
    // How a line matches a marker: equals it, begins with it, or holds it anywhere.
    enum Mode { MatchWhole = 10, MatchPrefix = 11, MatchContains = 12 };

    // L_OK; L_INPUT for an unknown mode; -1 when the marker is in the table already.
    int addMarker(const corekit::LString &marker, int mode);
    // A line that matches a marker still waiting for its value makes it wait; otherwise the line is the value of
    // the first waiting marker. The marker line itself is never a value.
    void feed(const corekit::LString &line);
    // The value captured for the marker; an empty string when there is no such marker.
    const corekit::LString &valueOf(const corekit::LString &marker) const;

private:
    struct Entry {
        corekit::LString marker;
        int mode;
        corekit::LString value;
        bool waiting = false;
        bool done = false;
    };

    static bool matches(const Entry &entry, const corekit::LString &line);

    std::vector<Entry> m_entries;
};

} // namespace meteo
