#pragma once

#include <QString>
#include <QSystemTrayIcon>

#include <functional>

namespace nimbdesk
{

// What the desktop's tray offers, asked in this one place: whether there is a tray, whether it shows an icon's
// messages, and the showing of one. By default the desktop answers; a test, which runs where there is no tray,
// gives answers of its own and sees the messages that would have been shown.
struct CTraySystem {
    struct Message {
        QString title;
        QString body;
        QSystemTrayIcon::MessageIcon icon = QSystemTrayIcon::NoIcon;
        // How long the message stays, in milliseconds; 0 keeps it until the person closes it, where the tray can.
        int msecs = 0;
    };

    std::function<bool()> available = &QSystemTrayIcon::isSystemTrayAvailable;
    std::function<bool()> showsMessages = &QSystemTrayIcon::supportsMessages;
    std::function<void(QSystemTrayIcon &icon, const Message &message)> show
        = [](QSystemTrayIcon &icon, const Message &message) {
              icon.showMessage(message.title, message.body, message.icon, message.msecs);
          };
};

} // namespace nimbdesk
