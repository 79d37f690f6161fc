#include "corekit/lregularfile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace corekit
{

LRegularFile::LRegularFile(const std::string &path)
    : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK))
{
    if (m_fd < 0) {
        m_error = errno;
        m_state = m_error == ENOENT || m_error == ENOTDIR ? State::Missing : State::Failed;
    } else if (::fstat(m_fd, &m_info) != 0) {
        m_error = errno;
    } else {
        m_state = S_ISREG(m_info.st_mode) ? State::Open : State::NotRegular;
    }
}

LRegularFile::~LRegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool LRegularFile::readUpTo(std::size_t limit, std::string &bytes)
{
    bytes.resize(limit);
    std::size_t done = 0;
    while (done < limit) {
        const ssize_t count = m_state == State::Open ? ::read(m_fd, bytes.data() + done, limit - done) : -1;
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            bytes.resize(done);
            return count == 0;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

} // namespace corekit
