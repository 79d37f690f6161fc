#pragma once

#include <QAccessibleWidget>
#include <QString>

#include <cstdint>
#include <initializer_list>

class QObject;
class QWidget;

namespace nimbdesk
{

class CWgauge;

// What assistive tools find in the main window's display controls, which paint their readings themselves. A gauge
// or ticker is named after the frame it stands in ("Temperature", "Forecast"); its value and description are what
// it shows, in words: "76 degrees Fahrenheit", and for a ticker its whole text, not the slice in sight. The
// description of a gauge adds the time of the observation: "Temperature, 76 degrees Fahrenheit, observed 1:54 PM",
// and says so when the reading is old.
// The texts are composed when asked for, so they are always those of the moment.
class CAccessibleControl : public QAccessibleWidget
{
public:
    explicit CAccessibleControl(QWidget *control);

    QString text(QAccessible::Text kind) const override;

    // Makes Qt use this interface for every display control; once, after the application object exists.
    static void install();
    // Tells assistive tools that a control shows something new.
    static void announce(QWidget *control);
    // The gauges' new readings were observed at this time (seconds since 1970, UTC; negative when unknown).
    static void announceObservation(std::initializer_list<CWgauge *> gauges, std::int64_t observed);
    // As said after "observed": "1:54 PM", "at KIKV (Ankeny, 14 km) 1:54 PM: KDSM has not reported since 6:54 AM".
    static void announceObservation(std::initializer_list<CWgauge *> gauges, const QString &observed);

private:
    QString frameTitle() const;
    QString reading() const;
};

} // namespace nimbdesk
