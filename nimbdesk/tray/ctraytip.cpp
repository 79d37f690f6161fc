#include "nimbdesk/tray/ctraytip.h"

#include <QStringList>

namespace nimbdesk
{

// "Nimbrel", "Nimbrel (24 C)", "Nimbrel (24 C, light rain, 1:54 PM)".
QString CTrayTip::text() const
{
    QStringList reading;
    for (const QString *piece : {&temperature, &weather, &observed}) {
        if (!piece->isEmpty())
            reading.append(*piece);
    }
    QStringList lines{
        reading.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, reading.join(QStringLiteral(", ")))};
    if (!places.isEmpty())
        lines.append(places);
    if (!nextPeriod.isEmpty())
        lines.append(nextPeriod);
    if (!problem.isEmpty())
        lines.append(problem);
    lines.append(alerts);
    return lines.join(QLatin1Char('\n'));
}

} // namespace nimbdesk
