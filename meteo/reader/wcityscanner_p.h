#pragma once

#include "meteo/reader/wproductscanner_p.h"

namespace meteo
{

// Keeps the messages of a product page whose product header holds a type prefix and a station code
// ('FXUS63 KDMX 051744' for the prefix "FXUS" and the code "KDMX"). A message runs from its header to the next
// header of that prefix or a "<BR>" line; "$$" and "NNNN" lines inside it are kept as text.
class WCityScanner : public WProductScanner
{
public:
    WCityScanner(const corekit::LString &prefix, const corekit::LString &code);

protected:
    bool step(const corekit::LString &line, bool hasBreak) override;

private:
    corekit::LString m_prefix;
    corekit::LString m_code;
    bool m_inside = false;
};

} // namespace meteo
