#pragma once

#include <string>

namespace nimbdesk
{

// Speaks short texts aloud: "Tornado Warning. Tornado Warning issued December 7 at 5:40AM CST by NWS Upton NY".
class LSpeaker
{
public:
    virtual ~LSpeaker() = default;

    // Hands the text to the speech service without waiting for it to be spoken; false where the service cannot be
    // reached.
    virtual bool Say(const std::string &text) = 0;
};

} // namespace nimbdesk
