#include "meteo/reader/wcityscanner_p.h"

#include "meteo/reader/wproduct_p.h"

using namespace corekit;

namespace meteo
{

WCityScanner::WCityScanner(const LString &prefix, const LString &code)
    : m_prefix(prefix)
    , m_code(code)
{
}

bool WCityScanner::step(const LString &line, bool hasBreak)
{
    if (!m_inside || isCityHeader(line, m_prefix))
        m_inside = isCityHeader(line, m_prefix, m_code);
    else if (hasBreak)
        m_inside = false;
    else
        keep(line);
    return true;
}

} // namespace meteo
