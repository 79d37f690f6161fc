#include "nimbdesk/speech/lspeechdispatcher.h"

#include <libspeechd.h>

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

namespace nimbdesk
{

namespace
{

// A text to say, or nothing for a connection only.
struct Job {
    std::optional<std::string> text;
    LSpeaker::Done done;
};

} // namespace

struct LSpeechDispatcher::State {
    std::mutex lock;
    std::condition_variable wake;
    std::deque<Job> jobs;
    bool running = false;
    bool stopping = false;
    // Only the speaker's thread touches the connection.
    SPDConnection *handle = nullptr;

    std::string connect();
    std::string run(const Job &job);
    void serve();
};

// The client library starts the service where the desktop has it installed but not running.
std::string LSpeechDispatcher::State::connect()
{
    if (handle)
        return std::string();
    char *error = nullptr;
    handle = spd_open2("nimbrel", "alerts", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
    const std::string reason = error ? error : "no reason given";
    std::free(error);
    return handle ? std::string() : reason;
}

std::string LSpeechDispatcher::State::run(const Job &job)
{
    std::string failure = connect();
    if (!failure.empty() || !job.text)
        return failure;
    if (spd_say(handle, SPD_MESSAGE, job.text->c_str()) >= 0)
        return std::string();
    // A service that went away is connected to anew at the next text.
    spd_close(handle);
    handle = nullptr;
    return "the speech service stopped answering";
}

void LSpeechDispatcher::State::serve()
{
    std::unique_lock<std::mutex> locked(lock);
    for (;;) {
        wake.wait(locked, [this] { return stopping || !jobs.empty(); });
        if (stopping)
            break;
        Job job = std::move(jobs.front());
        jobs.pop_front();
        locked.unlock();
        const std::string failure = run(job);
        locked.lock();
        if (!stopping && job.done)
            job.done(failure);
    }
    locked.unlock();
    if (handle)
        spd_close(handle);
}

LSpeechDispatcher::LSpeechDispatcher()
    : m_state(std::make_shared<State>())
{
}

LSpeechDispatcher::~LSpeechDispatcher()
{
    const std::lock_guard<std::mutex> locked(m_state->lock);
    m_state->stopping = true;
    m_state->jobs.clear();
    m_state->wake.notify_one();
}

void LSpeechDispatcher::Say(const std::string &text, Done done)
{
    queue(text, std::move(done));
}

void LSpeechDispatcher::Connect(Done done)
{
    queue(std::nullopt, std::move(done));
}

void LSpeechDispatcher::queue(std::optional<std::string> text, Done done)
{
    const std::lock_guard<std::mutex> locked(m_state->lock);
    m_state->jobs.push_back({std::move(text), std::move(done)});
    m_state->wake.notify_one();
    if (m_state->running)
        return;
    m_state->running = true;
    // Detached: a thread held in the library must not hold up the speaker's owner; it ends once it is let go.
    std::thread([state = m_state] { state->serve(); }).detach();
}

} // namespace nimbdesk
