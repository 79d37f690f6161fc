#pragma once

#include <QString>
#include <QStringList>

namespace nimbdesk
{

// What the tray icon's tip tells, piece by piece: "Nimbrel (24 C, light rain, 1:54 PM)" on its first line, then a line
// for each further note. Whoever has more to tell at the panel adds a piece here and to text().
struct CTrayTip {
    QString name;
    // "24 C"; empty until the first observation.
    QString temperature;
    // The weather in words, where there is any: "light rain".
    QString weather;
    // When the temperature was observed: "1:54 PM", or "observed 3 h ago" once it is old.
    QString observed;
    // What went wrong in the last update, if anything: "Forecast not updated: cannot connect to server."
    QString problem;
    // The next period of the forecast: "Tonight: low 58, 70% thunderstorms likely".
    QString nextPeriod;
    // The events of the warnings in force, a line each: "Tornado Warning".
    QStringList alerts;
    // With several saved places, each with its last temperature: "Des Moines 27°, Bismarck −5°".
    QString places;

    QString text() const;
};

} // namespace nimbdesk
