#pragma once

#include "nimbdesk/speech/lspeaker.h"

#include <memory>
#include <optional>
#include <string>

namespace nimbdesk
{

// The desktop's speech service, speech-dispatcher, through its client library. Connecting may start the service
// and wait for it without a time limit, so everything the library does runs on the speaker's own thread: the
// caller's thread never waits for it. The connection is made at the first text and made again after a failure.
//
// The thread outlives the speaker while the library holds it; from the speaker's destruction on, no Done is called
// any more (Done runs while the speaker's state is locked, which the destruction also takes).
class LSpeechDispatcher : public LSpeaker
{
public:
    LSpeechDispatcher();
    ~LSpeechDispatcher() override;
    LSpeechDispatcher(const LSpeechDispatcher &) = delete;
    LSpeechDispatcher &operator=(const LSpeechDispatcher &) = delete;

    void Say(const std::string &text, Done done) override;

    // Connects where not connected, and tells "" or the service's reason.
    void Connect(Done done);

private:
    // Keeps the client library's header, and the GLib headers it needs, out of this one.
    struct State;
    std::shared_ptr<State> m_state;

    void queue(std::optional<std::string> text, Done done);
};

} // namespace nimbdesk
