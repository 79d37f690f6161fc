#include "nimbdesk/gauges/spokenreading.h"

#include "nimbdesk/gauges/cwwind.h"

#include <QCoreApplication>
#include <QStringList>

#include <array>
#include <utility>

using namespace corekit;
using namespace meteo;

namespace nimbdesk
{

namespace
{

// The units the gauges write after their numbers.
constexpr std::array<std::pair<const char *, const char *>, 7> UNIT_WORDS = {{
    {"°C", QT_TRANSLATE_NOOP("spokenReading", "degrees Celsius")},
    {"°F", QT_TRANSLATE_NOOP("spokenReading", "degrees Fahrenheit")},
    {"MPH", QT_TRANSLATE_NOOP("spokenReading", "miles per hour")},
    {"KM/H", QT_TRANSLATE_NOOP("spokenReading", "kilometers per hour")},
    {"inHg", QT_TRANSLATE_NOOP("spokenReading", "inches of mercury")},
    {"mm Hg", QT_TRANSLATE_NOOP("spokenReading", "millimeters of mercury")},
    {"hPa", QT_TRANSLATE_NOOP("spokenReading", "hectopascals")},
}};

QString translated(const char *text)
{
    return QCoreApplication::translate("spokenReading", text);
}

QString unitWords(const QString &unit)
{
    for (const auto &[shown, spoken] : UNIT_WORDS) {
        if (unit == QString::fromUtf8(shown))
            return translated(spoken);
    }
    return unit;
}

QString pointWord(QChar letter)
{
    switch (letter.unicode()) {
    case 'N':
        return translated(QT_TRANSLATE_NOOP("spokenReading", "north"));
    case 'E':
        return translated(QT_TRANSLATE_NOOP("spokenReading", "east"));
    case 'S':
        return translated(QT_TRANSLATE_NOOP("spokenReading", "south"));
    default:
        return translated(QT_TRANSLATE_NOOP("spokenReading", "west"));
    }
}

// "NE" is "northeast", "NNE" "north-northeast".
QString pointWords(const QString &point)
{
    if (point.size() == 3)
        return pointWord(point[0]) + QLatin1Char('-') + pointWords(point.mid(1));
    QString words;
    for (const QChar letter : point)
        words += pointWord(letter);
    return words;
}

// "17 G 29" with "MPH" is "17 miles per hour, gusts 29".
QString spokenSpeed(const QString &value, const QString &unit)
{
    const QStringList parts = value.split(QStringLiteral(" G "));
    QString words = parts[0] + QLatin1Char(' ') + unitWords(unit);
    if (parts.size() > 1)
        words += translated(QT_TRANSLATE_NOOP("spokenReading", ", gusts ")) + parts[1];
    return words;
}

} // namespace

QString spokenDirection(const QString &point)
{
    if (point == QLatin1String("VRB"))
        return translated(QT_TRANSLATE_NOOP("spokenReading", "variable"));
    return translated(QT_TRANSLATE_NOOP("spokenReading", "from the ")) + pointWords(point);
}

QString spokenReading(const CWgauge &gauge)
{
    const CWgauge::Caption caption = gauge.caption();
    if (caption.unit.isEmpty()) {
        return caption.value == CWgauge::noValue().value ? translated(QT_TRANSLATE_NOOP("spokenReading", "no reading"))
                                                         : caption.value.toLower();
    }
    const auto *wind = qobject_cast<const CWwind *>(&gauge);
    if (!wind)
        return caption.value + QLatin1Char(' ') + unitWords(caption.unit);
    const QString direction = wind->directionText();
    const QString speed = spokenSpeed(caption.value, caption.unit);
    return direction.isEmpty() ? speed : spokenDirection(direction) + QStringLiteral(", ") + speed;
}

} // namespace nimbdesk
