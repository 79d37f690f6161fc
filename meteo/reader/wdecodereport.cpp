#include "meteo/reader/wdecodereport.h"

#include "corekit/lex.h"
#include "meteo/base/wcondition.h"
#include "meteo/reader/wmetar_p.h"
#include "meteo/reader/wmetarobservation_p.h"

using namespace corekit;

namespace meteo
{

namespace
{

// A report such as 'KXYZ 121851Z NIL' would otherwise pass off the previous observation as fresh.
bool holdsObservation(const WMetarReport &report)
{
    return report.hasTemperature || report.hasDewPoint || report.hasPressure || report.hasWindSpeed
        || report.hasWindDirection;
}

// Values the report lacks keep the previous observation's; the gust is always written.
void apply(const WMetarReport &report, WCondition &condition)
{
    if (report.hasTemperature)
        condition.setTemp(report.temperature);
    if (report.hasDewPoint)
        condition.setDewPoint(report.dewPoint);
    if (report.hasPressure)
        condition.setPressure(report.pressure);
    if (report.hasWindDirection)
        condition.setWindDirection(report.windDirection);
    if (report.hasWindSpeed)
        condition.setWindSpeed(report.windSpeed);
    condition.setWindGustSpeed(report.hasWindGust ? report.windGust : -1);
    if (report.hasObservationTime)
        condition.setTime(LCTime(report.observationTime, LCTime::LCL));
}

int applyIfObserved(const LString &text, const WMetarReport &report, WCondition &condition)
{
    if (!holdsObservation(report))
        return L_ERROR;
    apply(report, condition);
    condition.setObservation(metarObservation(text, report));
    return L_OK;
}

} // namespace

int decodeReport(const LString &report, WCondition &condition)
{
    WMetarReport decoded;
    decodeMetar(report, decoded);
    return applyIfObserved(report, decoded, condition);
}

int decodeReport(const LString &report, WCondition &condition, std::int64_t now)
{
    WMetarReport decoded;
    decodeMetar(report, decoded, now);
    return applyIfObserved(report, decoded, condition);
}

} // namespace meteo
