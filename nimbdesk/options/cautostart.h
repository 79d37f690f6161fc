#pragma once

#include <QCoreApplication>
#include <QString>

namespace nimbdesk
{

// The freedesktop autostart entry that starts the program when the user logs in, hidden in the tray:
// "$XDG_CONFIG_HOME/autostart/nimbrel.desktop", "~/.config/autostart/nimbrel.desktop" when the variable is unset
// or not an absolute path. Its presence is the setting: nothing else records it, so it cannot fall out of step.
class CAutostart
{
    Q_DECLARE_TR_FUNCTIONS(CAutostart)

public:
    static constexpr const char *MINIMIZED_OPTION = "--minimized";

    static QString entryPath();
    static bool isEnabled();
    // Writes the entry that starts the program (an absolute path) with --minimized. An empty text on success,
    // otherwise the reason, for the window.
    static QString enable(const QString &program);
    // Removes the entry; an absent entry is no failure.
    static QString disable();
};

} // namespace nimbdesk
