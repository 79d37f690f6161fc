#include "nimbdesk/window/cfreshnessview.h"

#include "meteo/base/wcondition.h"
#include "nimbdesk/freshness/cstationnote.h"
#include "nimbdesk/freshness/timetext.h"
#include "nimbdesk/gauges/cwgauge.h"
#include "nimbdesk/tray/ctrayicon.h"
#include "nimbdesk/window/cstatusline.h"

#include <QLabel>
#include <QTimer>

using namespace corekit;
using namespace meteo;

namespace nimbdesk
{

namespace
{

// How often the view looks again at how old the observation is.
constexpr int CHECK_INTERVAL_MS = 60000;

} // namespace

CFreshnessView::CFreshnessView(const CFreshnessTargets &targets, QObject *parent)
    : QObject(parent)
    , m_targets(targets)
{
    QTimer *check = new QTimer(this);
    connect(check, &QTimer::timeout, this, &CFreshnessView::show);
    connect(check, &QTimer::timeout, this, &CFreshnessView::minutePassed);
    check->start(CHECK_INTERVAL_MS);
}

void CFreshnessView::ShowCondition(const WCondition &condition, const WStationUsed &station)
{
    m_station = station;
    if (condition.getTime().IsValid())
        m_freshness.Observed(static_cast<std::int64_t>(condition.getTime()));
    show();
}

void CFreshnessView::ForgetPlace(std::uint32_t state, std::uint32_t city)
{
    m_station = {};
    m_freshness.ForgetPlace(state, city);
    show();
}

void CFreshnessView::TextArrived(int item, const QString &text)
{
    m_freshness.TextArrived(item, text.toStdString());
}

// "Last updated: 12/06/99 14:05:00", or what failed; the status line's tooltip tells the whole cycle.
void CFreshnessView::CycleFinished(const CUpdateResults &results)
{
    m_freshness.CycleFinished(results, currentTime());
    m_targets.status->setText(QString::fromStdString(m_freshness.StatusLine()));
    m_targets.status->setToolTip(QString::fromStdString(m_freshness.Story()));
    show();
}

// The status line names the change; its tooltip still tells the last cycle.
void CFreshnessView::AlertsChecked(const CUpdateResults &results)
{
    m_freshness.AlertsChecked(results, currentTime());
    m_targets.status->setText(QString::fromStdString(m_freshness.StatusLine()));
}

void CFreshnessView::AlertsExpired(int item, const QString &text)
{
    m_freshness.AlertsExpired(item, text.toStdString());
}

void CFreshnessView::Restore(const settings::LPlaceCacheRecord &record)
{
    m_freshness.Restore(record, currentTime());
    tellStart();
}

void CFreshnessView::NoteAtStart(const QString &line)
{
    m_freshness.NoteAtStart(line.toStdString());
    tellStart();
}

void CFreshnessView::tellStart()
{
    m_targets.status->setText(QString::fromStdString(m_freshness.StatusLine()));
    m_targets.status->setToolTip(QString::fromStdString(m_freshness.Story()));
    show();
}

// An old observation dims the gauges; the tray's number turns grey when the observation is old or ahead of the
// clock, or the last update failed, or no update has come since the start: then its tip says why. A nearby
// station's observation names the station, beside the status line and on a line of the tray's tip.
void CFreshnessView::show()
{
    const std::int64_t now = currentTime();
    const CFreshness::Age age = m_freshness.ObservationAge(now);
    for (CWgauge *gauge : m_targets.gauges)
        gauge->SetStale(age == CFreshness::Age::Old);
    const QString stationLine
        = age == CFreshness::Age::None ? QString() : CStationNote::Line(m_station, m_freshness.ObservedTime(), now);
    m_targets.observedAt->setText(
        stationLine.isEmpty() ? QString::fromStdString(m_freshness.ObservedLine(now)) : stationLine);
    const bool failed = m_freshness.LastCycleFailed() || m_freshness.ShowingKept();
    QStringList notes{stationLine, failed ? QString::fromStdString(m_freshness.StatusLine()) : QString()};
    notes.removeAll(QString());
    m_targets.tray->ShowFreshness(QString::fromStdString(m_freshness.ObservedNote(now)), notes.join(QLatin1Char('\n')),
        (age == CFreshness::Age::Fresh || age == CFreshness::Age::None) && !failed);
}

} // namespace nimbdesk
