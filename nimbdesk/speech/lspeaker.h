#pragma once

#include <functional>
#include <string>

namespace nimbdesk
{

// Speaks short texts aloud: "Tornado Warning. Tornado Warning issued December 7 at 5:40AM CST by NWS Upton NY".
class LSpeaker
{
public:
    // Told "" once the text is in the speech service's hands, or why it is not ("Can't connect to unix socket").
    // A speaker may call it on a thread of its own.
    using Done = std::function<void(const std::string &failure)>;

    virtual ~LSpeaker() = default;

    // Hands the text to the speech service without waiting for the service or for the text to be spoken.
    virtual void Say(const std::string &text, Done done) = 0;
};

} // namespace nimbdesk
