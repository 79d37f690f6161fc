#include "settings/lwinkeeper.h"

#include "settings/lsettingscache_p.h"
#include "settings/lsettingsdoc_p.h"
#include "settings/lsettingsfile_p.h"

#include <cstdlib>
#include <optional>
#include <pwd.h>
#include <string_view>
#include <unistd.h>

using namespace corekit;

namespace settings
{

namespace
{

// An integer is read through a buffer of this many bytes; longer data does not fit the query at all.
constexpr std::size_t INT_QUERY_SIZE = 4;

std::string_view view(const LString &text)
{
    return {text, text.length()};
}

std::string homeDirectory()
{
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    passwd entry{};
    passwd *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found)
        return found->pw_dir;
    return ".";
}

// The base directory rules ignore a relative XDG_CONFIG_HOME.
std::string configHome()
{
    if (const char *home = std::getenv("XDG_CONFIG_HOME"); home && home[0] == '/')
        return home;
    return homeDirectory() + "/.config";
}

std::string environmentDirectory()
{
    const char *directory = std::getenv("NIMBREL_SETTINGS_DIR");
    return directory ? directory : "";
}

// A value that could not be written stands in for the file's own.
std::optional<LSettingsValue> stored(
    LSettingsCache &cache, const std::string &path, const LString &section, const LString &key)
{
    if (!LSettingsDoc::validName(view(section)) || !LSettingsDoc::validName(view(key)))
        return std::nullopt;
    if (std::optional<LSettingsValue> unsaved = LSettingsFile(path).unsaved(view(section), view(key)))
        return unsaved;
    const LSettingsValue *value = cache.current(path).find(view(section), view(key));
    return value ? std::optional<LSettingsValue>(*value) : std::nullopt;
}

} // namespace

LWinKeeper::LWinKeeper(const LString &appName)
    : LWinKeeper(appName, std::string())
{
}

LWinKeeper::LWinKeeper(const LString &appName, const std::string &directory)
    : LKeeper(appName)
    , m_configHome(configHome())
    , m_caches(std::make_unique<LSettingsCache[]>(2))
{
    SetDirectory(directory);
}

LWinKeeper::~LWinKeeper() = default;

std::size_t LWinKeeper::FileReads() const
{
    return m_caches[0].reads() + m_caches[1].reads();
}

void LWinKeeper::SetDirectory(const std::string &directory)
{
    m_directory = directory.empty() ? environmentDirectory() : directory;
}

LSettingsCache &LWinKeeper::cache(bool global)
{
    return m_caches[global ? 1 : 0];
}

std::string LWinKeeper::FilePath(bool global) const
{
    const std::string app(GetAppName());
    const std::string directory = m_directory.empty() ? m_configHome + '/' + app : m_directory;
    return directory + '/' + app + (global ? "-global.conf" : ".conf");
}

int LWinKeeper::Check(bool global, std::string &reason) const
{
    return LSettingsFile(FilePath(global)).check(reason);
}

int LWinKeeper::Repair()
{
    const std::string path = FilePath(false);
    return report(path, LString(), LString(), LSettingsFile(path).repair());
}

bool LWinKeeper::Exists(const LString &section, const LString &key, bool global)
{
    return stored(cache(global), FilePath(global), section, key).has_value();
}

int LWinKeeper::GetInt(const LString &section, const LString &key, std::uint32_t &value, bool global)
{
    const std::optional<LSettingsValue> found = stored(cache(global), FilePath(global), section, key);
    if (!found || found->dataSize() > INT_QUERY_SIZE)
        return L_NOTFOUND;
    if (found->type != LSettingsValue::Type::Integer)
        return L_WRONGTYPE;
    value = found->number;
    return L_OK;
}

int LWinKeeper::GetString(const LString &section, const LString &key, LString &value, bool global)
{
    const std::optional<LSettingsValue> found = stored(cache(global), FilePath(global), section, key);
    if (!found)
        return L_NOTFOUND;
    if (found->type != LSettingsValue::Type::String)
        return L_WRONGTYPE;
    value.assign(found->bytes.data(), found->bytes.size());
    return L_OK;
}

int LWinKeeper::GetBinary(const LString &section, const LString &key, LBinary &value, bool global)
{
    const std::optional<LSettingsValue> found = stored(cache(global), FilePath(global), section, key);
    if (!found)
        return L_NOTFOUND;
    if (found->type != LSettingsValue::Type::Binary)
        return L_WRONGTYPE;
    value.assign(found->bytes.data(), static_cast<std::uint32_t>(found->bytes.size()));
    return L_OK;
}

int LWinKeeper::SetInt(const LString &section, const LString &key, std::uint32_t value, bool global)
{
    return store(global, section, key, LSettingsValue::integer(value));
}

int LWinKeeper::SetString(const LString &section, const LString &key, const LString &value, bool global)
{
    return store(global, section, key, LSettingsValue::string(view(value)));
}

int LWinKeeper::SetBinary(const LString &section, const LString &key, const LBinary &value, bool global)
{
    const std::string_view bytes(reinterpret_cast<const char *>(value.data()), value.size());
    return store(global, section, key, LSettingsValue::binary(bytes));
}

// Names that no file could hold, and values too long for a line of it, are refused without a word: they come from the
// program, not from the person.
int LWinKeeper::store(bool global, const LString &section, const LString &key, const LSettingsValue &value)
{
    if (!LSettingsDoc::validName(view(section)))
        return L_CREATE;
    if (!LSettingsDoc::validName(view(key)) || LSettingsDoc::line(view(key), value).size() > LSettingsFile::MAX_LINE)
        return L_OUTPUT;
    const std::string path = FilePath(global);
    return report(path, section, key, LSettingsFile(path).write(view(section), view(key), value));
}

int LWinKeeper::report(
    const std::string &path, const LString &section, const LString &key, const LSettingsOutcome &outcome)
{
    if (m_listener) {
        for (const LSettingsRepair &repair : LSettingsFile(path).takeRepairs())
            m_listener->Repaired(path, repair.dropped, repair.keptAs);
    }
    if (m_listener && outcome.result != L_OK)
        m_listener->NotSaved(path, std::string(view(section)), std::string(view(key)), outcome.reason, outcome.failure);
    return outcome.result;
}

} // namespace settings
