#include "settings/latomicwrite_p.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings
{

namespace
{

bool writeAll(int fd, const std::string &text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t count = ::write(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<std::size_t>(count);
    }
    return true;
}

} // namespace

int writeAtomically(const std::string &path, const std::string &text)
{
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat old {
    };
    bool written = (::stat(path.c_str(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0) && writeAll(fd, text)
        && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) == 0)
        return 0;
    error = written ? errno : error;
    ::unlink(temporary.c_str());
    return error;
}

} // namespace settings
