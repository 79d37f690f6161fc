#pragma once

#include "meteo/reader/wnearbycondition.h"
#include "nimbdesk/freshness/cfreshness.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

class QLabel;
namespace meteo
{
class WCondition;
}

namespace nimbdesk
{

class CStatusLine;
class CTrayIcon;
class CWgauge;

// The controls of the main window that tell how fresh the weather is.
struct CFreshnessTargets {
    std::array<CWgauge *, 4> gauges{};
    CStatusLine *status = nullptr;
    QLabel *observedAt = nullptr;
    CTrayIcon *tray = nullptr;
};

// Shows how fresh the window's weather is: the observation's time beside the status line and in the tray's tip,
// old readings dimmed on the gauges, the tray's number in grey while it is not to be trusted, and after each cycle
// what failed on the status line with the whole story in its tooltip. It looks again once a minute, since an
// observation grows old while no cycle brings a new one. The texts it keeps are in freshness() for the tickers.
class CFreshnessView : public QObject
{
    Q_OBJECT

public:
    CFreshnessView(const CFreshnessTargets &targets, QObject *parent);

    // The station tells whose the observation is when a nearby station stood in for the place's.
    void ShowCondition(const meteo::WCondition &condition, const meteo::WStationUsed &station = {});
    // Another place is shown, of which nothing is known yet (CFreshness::ForgetPlace).
    void ForgetPlace(std::uint32_t state, std::uint32_t city);
    void TextArrived(int item, const QString &text);
    void CycleFinished(const CUpdateResults &results);
    void AlertsChecked(const CUpdateResults &results);
    // The texts of the alert kinds made anew after an alert expired (CFreshness::AlertsExpired).
    void AlertsExpired(int item, const QString &text);

    // What was kept of the place from before the start (CFreshness::Restore), and a line on the status line that
    // the first cycle's story keeps (CFreshness::NoteAtStart).
    void Restore(const settings::LPlaceCacheRecord &record);
    void NoteAtStart(const QString &line);

    const CFreshness &freshness() const { return m_freshness; }

signals:
    // The minute's look again: whatever else grows old with the clock may follow it.
    void minutePassed();

private:
    void tellStart();
    void show();

    const CFreshnessTargets m_targets;
    CFreshness m_freshness;
    meteo::WStationUsed m_station;
};

} // namespace nimbdesk
