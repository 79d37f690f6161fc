#pragma once

#include "nimbdesk/worker/cupdateevent.h"

#include <QEvent>
#include <QObject>

namespace nimbreltest
{

// Counts the update cycles that reached the window's end, by their last event. Installed as the window's event
// filter, it lets every event through.
class CycleCounter final : public QObject
{
public:
    int ended = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == nimbdesk::WM_UPDATE_FINISHED)
            ++ended;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace nimbreltest
