#include "settings/lsettingsfile_p.h"

#include "corekit/lex.h"
#include "corekit/lregularfile.h"
#include "settings/latomicwrite_p.h"
#include "settings/lsettingslock_p.h"
#include "settings/lsettingsparser_p.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
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

using namespace corekit;

namespace settings
{

namespace
{

enum class Content { Read, Missing, Unreadable };

constexpr int MAX_LINK_HOPS = 40;
constexpr std::size_t CHUNK_SIZE = 16384;

std::int64_t nanoseconds(const timespec &time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

LSettingsStamp stampOf(const struct stat &info)
{
    return {true, static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::int64_t>(info.st_size), nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
}

// Cuts the pieces that read() returns into lines for the parser, holding at most MAX_LINE bytes of one line: the
// rest of a longer line is passed over unread, so that a file of any size costs a bounded amount of memory.
class LineFeed
{
public:
    explicit LineFeed(LSettingsParser &parser)
        : m_parser(parser)
    {
    }

    void take(std::string_view piece)
    {
        for (std::size_t newline; (newline = piece.find('\n')) != std::string_view::npos;) {
            append(piece.substr(0, newline));
            endLine();
            piece.remove_prefix(newline + 1);
        }
        append(piece);
    }
    // The last line, which has no '\n'.
    void end()
    {
        if (!m_line.empty() || m_overlong)
            endLine();
    }
    // A line cut short by the end of what is read is not a line of the file: it goes with the rest.
    void stop(const std::string &reason) { m_parser.skipRest(reason); }

private:
    void append(std::string_view part)
    {
        if (m_overlong || m_line.size() + part.size() > LSettingsFile::MAX_LINE) {
            m_overlong = true;
            m_line.clear();
            return;
        }
        m_line.append(part);
    }
    void endLine()
    {
        if (m_overlong)
            m_parser.skip("longer than " + std::to_string(LSettingsFile::MAX_LINE) + " bytes");
        else
            m_parser.line(m_line);
        m_line.clear();
        m_overlong = false;
    }

    LSettingsParser &m_parser;
    std::string m_line;
    bool m_overlong = false;
};

// Everything past MAX_SIZE is left unread.
Content readLines(int fd, LSettingsParser &parser)
{
    std::string buffer(CHUNK_SIZE, '\0');
    LineFeed feed(parser);
    for (std::size_t total = 0;;) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return Content::Unreadable;
        if (count == 0)
            break;
        const std::size_t kept = std::min(static_cast<std::size_t>(count), LSettingsFile::MAX_SIZE - total);
        feed.take(std::string_view(buffer.data(), kept));
        total += kept;
        if (kept < static_cast<std::size_t>(count)) {
            feed.stop(
                "past the first " + std::to_string(LSettingsFile::MAX_SIZE) + " bytes, which are all that is read");
            return Content::Read;
        }
    }
    feed.end();
    return Content::Read;
}

// Only a regular file is read: a FIFO or a device put in the file's place must not block or flood the reader. The
// reason is set for an unreadable file, the stamp for a file that was read.
Content readFile(const std::string &path, LSettingsParser &parser, std::string &reason, LSettingsStamp &stamp)
{
    const LRegularFile file(path);
    switch (file.state()) {
    case LRegularFile::State::Open:
        break;
    case LRegularFile::State::NotRegular:
        reason = S_ISDIR(file.info().st_mode) ? "a folder stands in place of the file" : "it is not a regular file";
        return Content::Unreadable;
    case LRegularFile::State::Missing:
    case LRegularFile::State::Failed:
        reason = std::generic_category().message(file.error());
        return file.error() == ENOENT ? Content::Missing : Content::Unreadable;
    }
    stamp = stampOf(file.info());
    const Content content = readLines(file.descriptor(), parser);
    if (content == Content::Unreadable)
        reason = std::generic_category().message(errno);
    return content;
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
    std::optional<LSettingsValue> find(const std::string &path, std::string_view section, std::string_view key) const
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_docs.find(path);
        const LSettingsValue *value = found == m_docs.end() ? nullptr : found->second.find(section, key);
        return value ? std::optional<LSettingsValue>(*value) : std::nullopt;
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

// Another program that holds the lock past the deadline is most likely hung; the person can end it.
LSettingsOutcome lockFailure(int error)
{
    if (error != EWOULDBLOCK)
        return LSettingsOutcome::failed(L_CREATE, error, std::generic_category().message(error));
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(LSettingsLock::PATIENCE).count();
    LSettingsOutcome outcome = LSettingsOutcome::failed(L_CREATE, error,
        "another program has kept the settings locked for over " + std::to_string(seconds) + " seconds");
    outcome.failure = LSettingsFailure::Locked;
    return outcome;
}

} // namespace

LSettingsOutcome LSettingsOutcome::failed(int result, int error, std::string reason)
{
    LSettingsOutcome outcome;
    outcome.result = result;
    outcome.reason = std::move(reason);
    if (error == ENOSPC || error == EDQUOT)
        outcome.failure = LSettingsFailure::DiskFull;
    return outcome;
}

LSettingsFile::LSettingsFile(std::string path)
    : m_path(std::move(path))
{
}

struct LSettingsFile::Change {
    std::string_view section;
    std::string_view key;
    const LSettingsValue &value;
};

LSettingsStamp LSettingsFile::stamp() const
{
    struct stat info {
    };
    return ::stat(m_path.c_str(), &info) == 0 ? stampOf(info) : LSettingsStamp();
}

LSettingsDoc LSettingsFile::read(LSettingsStamp &stamp) const
{
    LSettingsDoc doc;
    LSettingsParser parser(doc);
    std::string error;
    stamp = LSettingsStamp();
    if (readFile(m_path, parser, error, stamp) == Content::Unreadable)
        doc.clear();
    return doc;
}

std::optional<LSettingsValue> LSettingsFile::unsaved(std::string_view section, std::string_view key) const
{
    return Pending::forFiles().find(m_path, section, key);
}

int LSettingsFile::check(std::string &reason) const
{
    LSettingsDoc doc;
    LSettingsParser parser(doc);
    LSettingsStamp stamp;
    switch (readFile(m_path, parser, reason, stamp)) {
    case Content::Missing:
        return L_OK;
    case Content::Unreadable:
        return L_INPUT;
    case Content::Read:
        break;
    }
    reason = parser.damage();
    return parser.sound() ? L_OK : L_FORMAT;
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
        outcome = lockFailure(lock.error());
    } else if (readForUpdate(target, doc, outcome, moved) && (change || moved)) {
        Pending::forFiles().addTo(m_path, doc);
        if (change)
            doc.set(change->section, change->key, change->value);
        const std::string text = doc.text();
        const int error = text.size() <= MAX_SIZE ? writeAtomically(target, text) : EFBIG;
        if (error != 0)
            outcome = LSettingsOutcome::failed(L_OUTPUT, error, std::generic_category().message(error));
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
    LSettingsParser parser(doc);
    std::string error;
    LSettingsStamp stamp;
    switch (readFile(target, parser, error, stamp)) {
    case Content::Missing:
        return true;
    case Content::Unreadable:
        outcome.result = L_OUTPUT;
        outcome.reason = "the settings file cannot be read: " + error;
        return false;
    case Content::Read:
        break;
    }
    return parser.sound() || moveAside(target, parser.damage(), outcome, moved);
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
            "Settings file %s is damaged (%s); those lines were left out or held to their range, the other settings "
            "kept, and the file kept as %s.\n",
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

} // namespace settings
