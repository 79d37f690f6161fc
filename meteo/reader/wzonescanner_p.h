#pragma once

#include "meteo/reader/wproductscanner_p.h"

#include <string>

namespace meteo
{

// Keeps the messages of a product page whose zone header covers one forecast zone ('ILZ014'). A message runs from
// its header to "$$", "NNNN", "GSK", a "<BR>" line or the next zone header; the header itself is not kept. With
// firstOnly the scanner stops after the first covering message.
class WZoneScanner : public WProductScanner
{
public:
    static constexpr const char *ZONE_END_STRING = "$$";
    static constexpr const char *ZONE_END_STRING2 = "NNNN";
    static constexpr const char *ZONE_END_STRING3 = "GSK";

    WZoneScanner(const corekit::LString &zone, bool firstOnly);

protected:
    bool step(const corekit::LString &line, bool hasBreak) override;

private:
    bool finishHeader();
    bool header(const corekit::LString &line);
    bool messageLine(const corekit::LString &line, bool hasBreak);

    corekit::LString m_zone;
    bool m_firstOnly;
    bool m_inside = false;
    // A header whose zone list goes on over the next lines, joined so far, without its line feed.
    std::string m_header;
};

} // namespace meteo
