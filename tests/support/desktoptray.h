#pragma once

#include "nimbdesk/tray/ctraysystem.h"

#include <memory>
#include <vector>

namespace nimbreltest
{

// A desktop with a tray that shows messages, for tests that run offscreen, where there is none. The messages the
// icon would have shown are kept in order, in a list that outlives the icon.
struct DesktopTray {
    std::shared_ptr<std::vector<nimbdesk::CTraySystem::Message>> shown
        = std::make_shared<std::vector<nimbdesk::CTraySystem::Message>>();

    nimbdesk::CTraySystem system() const
    {
        nimbdesk::CTraySystem tray;
        tray.available = [] { return true; };
        tray.showsMessages = [] { return true; };
        tray.show = [shown = shown](QSystemTrayIcon &, const nimbdesk::CTraySystem::Message &message) {
            shown->push_back(message);
        };
        return tray;
    }
};

} // namespace nimbreltest
