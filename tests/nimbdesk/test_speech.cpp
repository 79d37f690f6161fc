#include "nimbdesk/speech/lspeechdispatcher.h"

#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

using namespace nimbdesk;

namespace
{

// A unix socket that takes connections into its backlog and never answers: a speech service that hangs.
class SilentService
{
public:
    explicit SilentService(const std::string &path)
        : m_socket(::socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        m_bound = ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0
            && ::listen(m_socket, 4) == 0;
    }
    ~SilentService() { ::close(m_socket); }
    bool bound() const { return m_bound; }

private:
    int m_socket;
    bool m_bound = false;
};

// What a speaker told, once it told.
struct Told {
    std::mutex lock;
    std::condition_variable changed;
    std::optional<std::string> failure;

    LSpeaker::Done done()
    {
        return [this](const std::string &text) {
            const std::lock_guard<std::mutex> locked(lock);
            failure = text;
            changed.notify_all();
        };
    }
    bool wait()
    {
        std::unique_lock<std::mutex> locked(lock);
        return changed.wait_for(locked, std::chrono::seconds(30), [this] { return failure.has_value(); });
    }
};

} // namespace

// The service cannot be reached: the speaker says why, from its own thread.
TEST(LSpeechDispatcher, unreachableServiceIsTold)
{
    nimbreltest::TempDir folder;
    setenv("SPEECHD_ADDRESS", ("unix_socket:" + (folder.path() / "none.sock").string()).c_str(), 1);
    Told told;
    LSpeechDispatcher speaker;
    speaker.Say("Tornado Warning.", told.done());
    ASSERT_TRUE(told.wait());
    EXPECT_FALSE(told.failure->empty());
}

// A service that never answers holds the speaker's thread, never its owner's: Say, Connect and the speaker's end
// all return, and nothing is told after the end.
TEST(LSpeechDispatcher, hangingServiceHoldsNobody)
{
    nimbreltest::TempDir folder;
    const std::string path = (folder.path() / "silent.sock").string();
    SilentService service(path);
    ASSERT_TRUE(service.bound());
    setenv("SPEECHD_ADDRESS", ("unix_socket:" + path).c_str(), 1);
    Told told;
    {
        LSpeechDispatcher speaker;
        speaker.Connect(told.done());
        speaker.Say("Tornado Warning.", told.done());
    }
    const std::lock_guard<std::mutex> locked(told.lock);
    EXPECT_FALSE(told.failure.has_value());
}
