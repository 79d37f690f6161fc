#include "meteo/base/wcondition.h"

#include "corekit/lstring.h"
#include "meteo/base/wconvert.h"

using namespace corekit;

namespace meteo
{

WCondition::WCondition()
    : m_time(LTime::LCL)
{
}

WCondition::WCondition(const WCondition &other) = default;

WCondition &WCondition::operator=(const WCondition &other) = default;

WCondition::~WCondition() = default;

// "%.0f" rounds as the C library does: 24.4 gives "24 C", and 24.4 C is 75.92 F, "76 F".
const LString &WCondition::formatTemp(LString &out, TempScale scale) const
{
    out = "";
    if (scale == Celsius)
        out.printf("%.0f C", static_cast<double>(m_temperature));
    else
        out.printf("%.0f F", static_cast<double>(C2F(m_temperature)));
    return out;
}

} // namespace meteo
