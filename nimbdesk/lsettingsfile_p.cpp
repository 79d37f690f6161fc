#include "nimbdesk/lsettingsfile_p.h"

#include "corekit/lex.h"
#include "nimbdesk/lsettingslock_p.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace
{

enum class Content { Read, Missing, Unreadable, TooLarge };

class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

private:
    int m_fd;
};

Content readAll(int fd, std::string &bytes)
{
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return Content::Unreadable;
        if (count == 0)
            return Content::Read;
        bytes.append(buffer, static_cast<std::size_t>(count));
        if (bytes.size() > LSettingsFile::MAX_SIZE)
            return Content::TooLarge;
    }
}

// Only a regular file is read: a FIFO or a device put in the file's place must not block or flood the reader.
Content readBytes(const std::string &path, std::string &bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? Content::Missing : Content::Unreadable;
    const Descriptor closer(fd);
    struct stat info {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return Content::Unreadable;
    return readAll(fd, bytes);
}

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

// Writes a new file beside the old one, flushed to disk, and renames it over the old one: no reader ever sees half a
// file, and a crash leaves the old settings or the new ones, never an empty file.
bool writeAtomically(const std::string &path, const std::string &text)
{
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

// "20240521T134501Z"
std::string timeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    char text[32] = "";
    if (::gmtime_r(&now, &parts))
        std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

// A name beside path that no file has yet: "Nimbrel.conf.corrupt-20240521T134501Z", then "...Z-2" and so on.
std::string asideName(const std::string &path)
{
    const std::string base = path + ".corrupt-" + timeStamp();
    std::string name = base;
    struct stat info {
    };
    for (int n = 2; ::lstat(name.c_str(), &info) == 0 && n < 1000; ++n)
        name = base + '-' + std::to_string(n);
    return name;
}

} // namespace

LSettingsFile::LSettingsFile(std::string path)
    : m_path(std::move(path))
{
}

LSettingsDoc LSettingsFile::read() const
{
    LSettingsDoc doc;
    std::string bytes;
    std::string error;
    if (readBytes(m_path, bytes) == Content::Read)
        doc.parse(bytes, error);
    return doc;
}

int LSettingsFile::write(std::string_view section, std::string_view key, const LSettingsValue &value) const
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), ignored);
    const LSettingsLock lock(m_path + ".lock");
    if (!lock.held())
        return L_CREATE;
    LSettingsDoc doc;
    if (!readForUpdate(doc))
        return L_OUTPUT;
    doc.set(section, key, value);
    const std::string text = doc.text();
    return text.size() <= MAX_SIZE && writeAtomically(m_path, text) ? L_OK : L_OUTPUT;
}

// The current settings under the lock; false when the file must not be replaced because it cannot be read.
bool LSettingsFile::readForUpdate(LSettingsDoc &doc) const
{
    std::string bytes;
    std::string error;
    switch (readBytes(m_path, bytes)) {
    case Content::Missing:
        return true;
    case Content::Unreadable:
        return false;
    case Content::TooLarge:
        return moveAside("larger than " + std::to_string(MAX_SIZE) + " bytes");
    case Content::Read:
        break;
    }
    return doc.parse(bytes, error) || moveAside(error);
}

// Keeps an unparseable file under a new name so that the user's settings are not lost, and says so once. Runs under
// the lock, which also guards the set of files already reported as immovable.
bool LSettingsFile::moveAside(const std::string &reason) const
{
    static std::set<std::string> reportedStuck;
    const std::string aside = asideName(m_path);
    if (::rename(m_path.c_str(), aside.c_str()) == 0) {
        std::fprintf(stderr,
            "Settings file %s cannot be parsed (%s); it was kept as %s and the settings start from "
            "their defaults.\n",
            m_path.c_str(), reason.c_str(), aside.c_str());
        return true;
    }
    if (reportedStuck.insert(m_path).second)
        std::fprintf(stderr, "Settings file %s cannot be parsed (%s) nor moved aside; settings are not saved.\n",
            m_path.c_str(), reason.c_str());
    return false;
}
