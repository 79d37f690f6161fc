#pragma once

#include "settings/lplacelist.h"

#include <QEvent>

namespace nimbdesk
{

// What the update worker posts to the main window. An event says only which result is ready; the window copies
// the result out of the worker. Events arrive in the order they were posted.
inline constexpr QEvent::Type WM_UPDATE_STARTED = static_cast<QEvent::Type>(QEvent::User + 1);
inline constexpr QEvent::Type WM_CONDITION_READY = static_cast<QEvent::Type>(QEvent::User + 2);
inline constexpr QEvent::Type WM_FORECAST_READY = static_cast<QEvent::Type>(QEvent::User + 3);
inline constexpr QEvent::Type WM_INFO_TEXT = static_cast<QEvent::Type>(QEvent::User + 4);
inline constexpr QEvent::Type WM_INFO_CLEAR = static_cast<QEvent::Type>(QEvent::User + 5);
inline constexpr QEvent::Type WM_MESSAGE_READY = static_cast<QEvent::Type>(QEvent::User + 6);
inline constexpr QEvent::Type WM_UPDATE_FINISHED = static_cast<QEvent::Type>(QEvent::User + 7);
// After WM_UPDATE_FINISHED: the alerts in force for the place (CUpdateThread::CopyAlerts).
inline constexpr QEvent::Type WM_ALERTS_READY = static_cast<QEvent::Type>(QEvent::User + 8);
// Before WM_ALERTS_READY, when an alert check between two cycles found the alerts changed: the warnings, watches
// and statements texts it fetched are ready (CUpdateThread::CopyCheckResults tells which, CopyMessage gives them).
inline constexpr QEvent::Type WM_ALERTS_CHECKED = static_cast<QEvent::Type>(QEvent::User + 9);

// After WM_FORECAST_READY, with the web service as the source: the forecast's periods (index 0) or its hours
// (index 1) are ready (CUpdateThread::CopyOutlook).
inline constexpr QEvent::Type WM_OUTLOOK_READY = static_cast<QEvent::Type>(QEvent::User + 10);
// A saved place other than the one shown has a new observation or new alerts (a CPlaceEvent names it): the window
// copies them with CUpdateThread::CopyWatched.
inline constexpr QEvent::Type WM_PLACE_READY = static_cast<QEvent::Type>(QEvent::User + 11);

class CUpdateEvent final : public QEvent
{
    Q_EVENT_DISABLE_COPY(CUpdateEvent);

public:
    CUpdateEvent(QEvent::Type type, int index)
        : QEvent(type)
        , m_index(index)
    {
    }
    ~CUpdateEvent() override = default;

    CUpdateEvent *clone() const override { return new CUpdateEvent(*this); }

    // With WM_MESSAGE_READY the kind of special message, as settings::indexOf gives it; with WM_OUTLOOK_READY the
    // periods (0) or the hours (1); 0 with the others.
    int index() const { return m_index; }

private:
    int m_index;
};

// WM_PLACE_READY, with the place whose results are ready and which of them.
class CPlaceEvent final : public QEvent
{
    Q_EVENT_DISABLE_COPY(CPlaceEvent);

public:
    enum class Ready { Observation, Alerts };

    CPlaceEvent(const settings::LPlaceId &place, Ready ready)
        : QEvent(WM_PLACE_READY)
        , m_place(place)
        , m_ready(ready)
    {
    }
    ~CPlaceEvent() override = default;

    CPlaceEvent *clone() const override { return new CPlaceEvent(*this); }

    const settings::LPlaceId &place() const { return m_place; }
    Ready ready() const { return m_ready; }

private:
    settings::LPlaceId m_place;
    Ready m_ready;
};

} // namespace nimbdesk
