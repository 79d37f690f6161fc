#pragma once

#include "nimbdesk/speech/lspeaker.h"

#include <memory>
#include <string>

namespace nimbdesk
{

// The desktop's speech service, speech-dispatcher, through its client library. The connection is made at the first
// text and made again after a failure.
class LSpeechDispatcher : public LSpeaker
{
public:
    LSpeechDispatcher();
    ~LSpeechDispatcher() override;
    LSpeechDispatcher(const LSpeechDispatcher &) = delete;
    LSpeechDispatcher &operator=(const LSpeechDispatcher &) = delete;

    bool Say(const std::string &text) override;

    // Connects where not connected: "" once connected, or the service's reason ("Can't connect to unix socket").
    std::string Connect();

private:
    // Keeps the client library's header, and the GLib headers it needs, out of this one.
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};

} // namespace nimbdesk
