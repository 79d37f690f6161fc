#pragma once

#include "corekit/corekit_export.h"

#include <cstddef>
#include <string>
#include <sys/stat.h>

namespace corekit
{

// A file opened for reading only when it is a regular file. The open never waits: a FIFO put in the file's place
// would hold an ordinary open until a writer came. A folder, a FIFO or a device is refused. Closed when it goes.
class COREKIT_EXPORT LRegularFile
{
public:
    enum class State { Open, Missing, NotRegular, Failed };

    explicit LRegularFile(const std::string &path);
    ~LRegularFile();
    LRegularFile(const LRegularFile &) = delete;
    LRegularFile &operator=(const LRegularFile &) = delete;

    State state() const { return m_state; }
    // The errno of a failed open or look at the file; 0 otherwise.
    int error() const { return m_error; }
    // What the file is, once opened: its kind (S_ISDIR on a refused folder), size and times.
    const struct stat &info() const { return m_info; }
    int descriptor() const { return m_fd; }

    // Up to limit bytes from where the file stands; false on a read error, with what was read before it.
    bool readUpTo(std::size_t limit, std::string &bytes);

private:
    int m_fd = -1;
    State m_state = State::Failed;
    int m_error = 0;
    struct stat m_info {
    };
};

} // namespace corekit
