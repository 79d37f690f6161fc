#pragma once

#include "meteo/reader/wproductscanner_p.h"

// Keeps the messages of a product page whose product header holds a type prefix and a station code
// ('FXUS63 KDMX 051744' for the prefix "FXUS" and the code "KDMX"). A message runs from its header to the next
// header of that prefix or a "<BR>" line; "$$" and "NNNN" lines inside it are kept as text.
class WCityScanner : public WProductScanner
{
public:
    WCityScanner(const LString &prefix, const LString &code);

protected:
    bool step(const LString &line, bool hasBreak) override;

private:
    LString m_prefix;
    LString m_code;
    bool m_inside = false;
};
