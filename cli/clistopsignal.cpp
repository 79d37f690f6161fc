#include "cli/clistopsignal.h"

#include "meteo/reader/wreader.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace cli
{

namespace
{

constexpr int SIGNALS[] = {SIGINT, SIGTERM};

// What the handler may touch: a flag, a pipe it writes one byte into (a wait polls its other end, so that a signal
// that comes just before the wait still ends it), and the reader whose fetch it aborts.
volatile std::sig_atomic_t stopRequested = 0;
int wakePipe[2] = {-1, -1};
std::atomic<meteo::WReader *> stoppedReader{nullptr};
struct sigaction previous[2];

extern "C" void onStop(int)
{
    const int saved = errno;
    stopRequested = 1;
    if (meteo::WReader *reader = stoppedReader.load())
        reader->abortFetch();
    const char byte = 0;
    if (::write(wakePipe[1], &byte, 1) < 0) {
        // A full pipe holds a byte already.
    }
    errno = saved;
}

std::int64_t nowMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

CliStopSignal::CliStopSignal(meteo::WReader &reader)
{
    stopRequested = 0;
    if (::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        wakePipe[0] = wakePipe[1] = -1;
    stoppedReader = &reader;
    struct sigaction action = {};
    action.sa_handler = onStop;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 2; ++i)
        sigaction(SIGNALS[i], &action, &previous[i]);
}

CliStopSignal::~CliStopSignal()
{
    for (int i = 0; i < 2; ++i)
        sigaction(SIGNALS[i], &previous[i], nullptr);
    stoppedReader = nullptr;
    for (int &end : wakePipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

bool CliStopSignal::stopped() const
{
    return stopRequested != 0;
}

bool CliStopSignal::waitUntil(std::int64_t milliseconds) const
{
    pollfd wake = {wakePipe[0], POLLIN, 0};
    for (std::int64_t left; !stopped() && (left = milliseconds - nowMilliseconds()) > 0;) {
        // A timeout past a few minutes is not needed: the loop waits again.
        ::poll(&wake, wakePipe[0] >= 0 ? 1 : 0, static_cast<int>(left < 600000 ? left : 600000));
    }
    return stopped();
}

} // namespace cli
