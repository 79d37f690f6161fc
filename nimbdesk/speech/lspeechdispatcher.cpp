#include "nimbdesk/speech/lspeechdispatcher.h"

#include <libspeechd.h>

#include <cstdlib>

namespace nimbdesk
{

struct LSpeechDispatcher::Connection {
    SPDConnection *handle = nullptr;

    ~Connection()
    {
        if (handle)
            spd_close(handle);
    }
};

LSpeechDispatcher::LSpeechDispatcher() = default;

LSpeechDispatcher::~LSpeechDispatcher() = default;

// The client library starts the service where the desktop has it installed but not running.
std::string LSpeechDispatcher::Connect()
{
    if (m_connection)
        return std::string();
    char *error = nullptr;
    SPDConnection *handle = spd_open2("nimbrel", "alerts", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
    const std::string reason = error ? error : "no reason given";
    std::free(error);
    if (!handle)
        return reason;
    m_connection = std::make_unique<Connection>();
    m_connection->handle = handle;
    return std::string();
}

bool LSpeechDispatcher::Say(const std::string &text)
{
    if (!Connect().empty())
        return false;
    if (spd_say(m_connection->handle, SPD_MESSAGE, text.c_str()) >= 0)
        return true;
    // A service that went away is connected to anew at the next text.
    m_connection.reset();
    return false;
}

} // namespace nimbdesk
