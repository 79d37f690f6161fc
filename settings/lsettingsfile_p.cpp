#include "settings/lsettingsfile_p.h"

#include "corekit/lex.h"
#include "settings/lsettingslock_p.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace
{

enum class Content { Read, Missing, Unreadable, TooLarge };

constexpr int MAX_LINK_HOPS = 40;

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

// Only a regular file is read: a FIFO or a device put in the file's place must not block or flood the reader. The
// reason is set for an unreadable file.
Content readBytes(const std::string &path, std::string &bytes, std::string &reason)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        reason = std::generic_category().message(errno);
        return errno == ENOENT ? Content::Missing : Content::Unreadable;
    }
    const Descriptor closer(fd);
    struct stat info {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = S_ISDIR(info.st_mode) ? "a folder stands in place of the file" : "it is not a regular file";
        return Content::Unreadable;
    }
    const Content content = readAll(fd, bytes);
    if (content == Content::Unreadable)
        reason = std::generic_category().message(errno);
    return content;
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
// file, and a crash leaves the old settings or the new ones, never an empty file. 0, or the errno of the failure.
int writeAtomically(const std::string &path, const std::string &text)
{
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    bool written = writeAll(fd, text) && ::fsync(fd) == 0;
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

// The file a symbolic link points to, through every link of a chain: people keep their settings in a repository and
// link them, so the file is replaced where the link points and the link stays. The path itself when it is no link.
std::string linkTarget(const std::string &path)
{
    std::filesystem::path target(path);
    std::error_code error;
    for (int hops = 0; hops < MAX_LINK_HOPS && std::filesystem::is_symlink(target, error); ++hops) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.string();
}

// What became of the settings files in this process, by file: the values that could not be written, which every
// thread's keeper reads and only writers (holding the settings lock) change, and the repairs not yet told.
class Pending
{
public:
    static Pending &forFiles()
    {
        static Pending pending;
        return pending;
    }

    void keep(const std::string &path, std::string_view section, std::string_view key, const LSettingsValue &value)
    {
        const std::lock_guard lock(m_mutex);
        m_docs[path].set(section, key, value);
    }
    void addTo(const std::string &path, LSettingsDoc &doc) const
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_docs.find(path);
        if (found != m_docs.end())
            doc.merge(found->second);
    }
    void forget(const std::string &path)
    {
        const std::lock_guard lock(m_mutex);
        m_docs.erase(path);
    }
    void repaired(const std::string &path, LSettingsRepair repair)
    {
        const std::lock_guard lock(m_mutex);
        m_repairs[path].push_back(std::move(repair));
    }
    std::vector<LSettingsRepair> takeRepairs(const std::string &path)
    {
        const std::lock_guard lock(m_mutex);
        std::vector<LSettingsRepair> taken;
        taken.swap(m_repairs[path]);
        return taken;
    }

private:
    mutable std::mutex m_mutex;
    std::map<std::string, LSettingsDoc> m_docs;
    std::map<std::string, std::vector<LSettingsRepair>> m_repairs;
};

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

struct LSettingsFile::Change {
    std::string_view section;
    std::string_view key;
    const LSettingsValue &value;
};

LSettingsDoc LSettingsFile::read() const
{
    LSettingsDoc doc;
    std::string bytes;
    std::string error;
    if (readBytes(m_path, bytes, error) == Content::Read)
        doc.parse(bytes, error);
    Pending::forFiles().addTo(m_path, doc);
    return doc;
}

int LSettingsFile::check(std::string &reason) const
{
    std::string bytes;
    switch (readBytes(m_path, bytes, reason)) {
    case Content::Missing:
        return L_OK;
    case Content::Unreadable:
        return L_INPUT;
    case Content::TooLarge:
        reason = "larger than " + std::to_string(MAX_SIZE) + " bytes";
        return L_INPUT;
    case Content::Read:
        break;
    }
    LSettingsDoc doc;
    return doc.parse(bytes, reason) ? L_OK : L_FORMAT;
}

LSettingsOutcome LSettingsFile::write(std::string_view section, std::string_view key, const LSettingsValue &value) const
{
    const Change change{section, key, value};
    return update(&change);
}

LSettingsOutcome LSettingsFile::repair() const
{
    return update(nullptr);
}

std::vector<LSettingsRepair> LSettingsFile::takeRepairs() const
{
    return Pending::forFiles().takeRepairs(m_path);
}

// Reads the file, adds the values not yet written and the change, and replaces the file. Without a change, only a
// file that was moved aside is written again.
LSettingsOutcome LSettingsFile::update(const Change *change) const
{
    LSettingsOutcome outcome;
    const std::string target = linkTarget(m_path);
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), ignored);
    const LSettingsLock lock(m_path + ".lock");
    LSettingsDoc doc;
    bool moved = false;
    if (!lock.held()) {
        outcome.result = L_CREATE;
        outcome.reason = std::generic_category().message(lock.error());
    } else if (readForUpdate(target, doc, outcome, moved) && (change || moved)) {
        Pending::forFiles().addTo(m_path, doc);
        if (change)
            doc.set(change->section, change->key, change->value);
        const std::string text = doc.text();
        const int error = text.size() <= MAX_SIZE ? writeAtomically(target, text) : EFBIG;
        outcome.result = error == 0 ? L_OK : L_OUTPUT;
        outcome.reason = error == 0 ? std::string() : std::generic_category().message(error);
    }
    if (outcome.result == L_OK)
        Pending::forFiles().forget(m_path);
    else if (change)
        Pending::forFiles().keep(m_path, change->section, change->key, change->value);
    return outcome;
}

// The current settings under the lock; false, with the outcome's result and reason set, when the file must not be
// replaced because it cannot be read.
bool LSettingsFile::readForUpdate(
    const std::string &target, LSettingsDoc &doc, LSettingsOutcome &outcome, bool &moved) const
{
    std::string bytes;
    std::string error;
    switch (readBytes(target, bytes, error)) {
    case Content::Missing:
        return true;
    case Content::Unreadable:
        outcome.result = L_OUTPUT;
        outcome.reason = "the settings file cannot be read: " + error;
        return false;
    case Content::TooLarge:
        return moveAside(target, "larger than " + std::to_string(MAX_SIZE) + " bytes", outcome, moved);
    case Content::Read:
        break;
    }
    return doc.parse(bytes, error) || moveAside(target, error, outcome, moved);
}

// Keeps a damaged file under a new name so that nothing of the person's settings is lost, and says so once. Runs
// under the lock, which also guards the set of files already reported as immovable.
bool LSettingsFile::moveAside(
    const std::string &target, const std::string &reason, LSettingsOutcome &outcome, bool &moved) const
{
    static std::set<std::string> reportedStuck;
    const std::string aside = asideName(target);
    if (::rename(target.c_str(), aside.c_str()) == 0) {
        std::fprintf(stderr,
            "Settings file %s is damaged (%s); those lines were left out, the other settings kept, and the file "
            "kept as %s.\n",
            target.c_str(), reason.c_str(), aside.c_str());
        Pending::forFiles().repaired(m_path, {reason, aside});
        moved = true;
        return true;
    }
    outcome.result = L_OUTPUT;
    outcome.reason = "the settings file is damaged (" + reason
        + ") and cannot be moved aside: " + std::generic_category().message(errno);
    if (reportedStuck.insert(target).second)
        std::fprintf(stderr, "Settings file %s is damaged (%s) and cannot be moved aside; settings are not saved.\n",
            target.c_str(), reason.c_str());
    return false;
}
