#include "settings/lwinkeeper.h"

#include "settings/lfontrecord.h"
#include "settings/lsettings.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace corekit;
using namespace settings;

using nimbreltest::TempDir;

namespace
{

const LString APP = "Nimbrel";

// Passes every call on to a real keeper and notes the writes, to see which defaults are laid down in which order.
class RecordingKeeper final : public LKeeper
{
public:
    explicit RecordingKeeper(LWinKeeper &keeper)
        : m_keeper(keeper)
    {
    }

    bool Exists(const LString &section, const LString &key, bool global) override
    {
        return m_keeper.Exists(section, key, global);
    }
    int GetInt(const LString &section, const LString &key, std::uint32_t &value, bool global) override
    {
        return m_keeper.GetInt(section, key, value, global);
    }
    int GetString(const LString &section, const LString &key, LString &value, bool global) override
    {
        return m_keeper.GetString(section, key, value, global);
    }
    int GetBinary(const LString &section, const LString &key, LBinary &value, bool global) override
    {
        return m_keeper.GetBinary(section, key, value, global);
    }
    int SetInt(const LString &section, const LString &key, std::uint32_t value, bool global) override
    {
        note(section, key);
        return m_keeper.SetInt(section, key, value, global);
    }
    int SetString(const LString &section, const LString &key, const LString &value, bool global) override
    {
        note(section, key);
        return m_keeper.SetString(section, key, value, global);
    }
    int SetBinary(const LString &section, const LString &key, const LBinary &value, bool global) override
    {
        note(section, key);
        return m_keeper.SetBinary(section, key, value, global);
    }

    std::vector<std::string> writes;

private:
    void note(const LString &section, const LString &key)
    {
        writes.push_back(std::string(section) + '/' + std::string(key));
    }

    LWinKeeper &m_keeper;
};

// Sets an environment variable for the life of the object and restores the earlier state after.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const char *value)
        : m_name(name)
    {
        if (const char *old = std::getenv(name)) {
            m_old = old;
            m_had = true;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { m_had ? ::setenv(m_name, m_old.c_str(), 1) : ::unsetenv(m_name); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    std::string m_old;
    bool m_had = false;
};

std::uint32_t intOf(LWinKeeper &keeper, const char *section, const char *key)
{
    std::uint32_t value = 0xdeadbeef;
    EXPECT_EQ(keeper.GetInt(section, key, value, false), L_OK) << section << '/' << key;
    return value;
}

// "T3": built by appending, as GCC 12 warns falsely (-Wrestrict) about "T" + std::to_string(3).
std::string keyName(const std::string &prefix, std::size_t i)
{
    std::string name = prefix;
    name += std::to_string(i);
    return name;
}

std::string bytesOf(const LBinary &binary)
{
    return std::string(reinterpret_cast<const char *>(binary.data()), binary.size());
}

LBinary binaryOf(const std::string &bytes)
{
    return LBinary(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// Notes what the keeper tells its listener.
class NoteTaker final : public LSettingsListener
{
public:
    void NotSaved(const std::string &file, const std::string &section, const std::string &key,
        const std::string &reason, LSettingsFailure failure) override
    {
        notSaved.push_back(file + " " + section + "/" + key + ": " + reason);
        failures.push_back(failure);
    }
    void Repaired(const std::string &file, const std::string &dropped, const std::string &keptAs) override
    {
        repaired.push_back(file + " [" + dropped + "] " + keptAs);
    }

    std::vector<std::string> notSaved;
    std::vector<LSettingsFailure> failures;
    std::vector<std::string> repaired;
};

// A folder in which nothing can be written: one without write permission, or for root, who is not held back by
// permissions, a read-only tmpfs mounted on it for the life of the object.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const std::string &path)
        : m_path(path)
    {
        std::filesystem::create_directories(path);
        if (::geteuid() != 0)
            m_ready = ::chmod(path.c_str(), 0555) == 0;
        else
            m_mounted = m_ready = ::mount("tmpfs", path.c_str(), "tmpfs", MS_RDONLY, "size=64k") == 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted)
            ::umount2(m_path.c_str(), MNT_DETACH);
        else
            ::chmod(m_path.c_str(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool ready() const { return m_ready; }

private:
    std::string m_path;
    bool m_mounted = false;
    bool m_ready = false;
};

// Another process that holds the settings writers' lock from construction to destruction.
class LockHolder
{
public:
    explicit LockHolder(const std::string &lockPath)
    {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(m_release) != 0)
            return;
        m_child = ::fork();
        if (m_child == 0) {
            ::close(ready[0]);
            ::close(m_release[1]);
            holdLock(lockPath, ready[1], m_release[0]);
        }
        ::close(ready[1]);
        ::close(m_release[0]);
        char byte = 0;
        m_held = m_child > 0 && ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
    }
    ~LockHolder()
    {
        ::close(m_release[1]);
        if (m_child > 0)
            ::waitpid(m_child, nullptr, 0);
    }
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;

    bool held() const { return m_held; }

private:
    // Tells the parent once the lock is held, and keeps it until the parent closes its end of the release pipe.
    [[noreturn]] static void holdLock(const std::string &lockPath, int ready, int release)
    {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
        if (fd >= 0 && ::flock(fd, LOCK_EX) == 0 && ::write(ready, "L", 1) == 1) {
            char byte = 0;
            while (::read(release, &byte, 1) > 0) { }
        }
        ::_exit(0);
    }

    int m_release[2] = {-1, -1};
    pid_t m_child = -1;
    bool m_held = false;
};

// A folder on a small tmpfs of its own, filled to the last byte once its settings file and lock are in place.
class FullFolder
{
public:
    explicit FullFolder(const std::string &path)
        : m_path(path)
    {
        std::filesystem::create_directories(path);
        m_mounted = ::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullFolder()
    {
        if (m_mounted)
            ::umount2(m_path.c_str(), MNT_DETACH);
    }
    FullFolder(const FullFolder &) = delete;
    FullFolder &operator=(const FullFolder &) = delete;

    bool mounted() const { return m_mounted; }
    void fill() const
    {
        const int fd = ::open((m_path + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'f');
        while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) { }
        ::close(fd);
    }

private:
    std::string m_path;
    bool m_mounted = false;
};

// The files that an unparseable settings file was moved to.
std::vector<std::string> asideFiles(const TempDir &dir)
{
    std::vector<std::string> found;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename().string().rfind("Nimbrel.conf.corrupt-", 0) == 0)
            found.push_back(entry.path().string());
    }
    return found;
}

// Writes count integers "<prefix><i>" = i, each through its own keeper call; returns how many writes failed.
int writeKeys(const std::string &directory, const std::string &prefix, int count)
{
    LWinKeeper keeper(APP, directory);
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        const std::string key = keyName(prefix, static_cast<std::size_t>(i));
        failures += keeper.SetInt("Race", key.c_str(), static_cast<std::uint32_t>(i), false) != L_OK;
    }
    return failures;
}

void expectKeys(LWinKeeper &keeper, const std::string &prefix, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::string key = keyName(prefix, static_cast<std::size_t>(i));
        std::uint32_t value = 0;
        ASSERT_EQ(keeper.GetInt("Race", key.c_str(), value, false), L_OK) << key << " was lost";
        EXPECT_EQ(value, static_cast<std::uint32_t>(i)) << key;
    }
}

} // namespace

TEST(LWinKeeper, defaultsOnEmptyStore)
{
    TempDir dir;
    LWinKeeper keeper(APP, dir.path().string());
    RecordingKeeper recorder(keeper);
    EXPECT_EQ(LSettings::InitDefaults(recorder), L_OK);
    const std::vector<std::string> order = {"General/UpdateTimeout", "General/TemperatureScale",
        "General/WindSpeedScale", "General/PressureScale", "General/ForegroundColor", "General/BackgroundColor",
        "General/Font", "General/HeaderFont", "ForecastTicker/Delay", "ForecastTicker/Font", "ForecastTicker/TextColor",
        "WarningsTicker/Delay", "WarningsTicker/Font", "WarningsTicker/TextColor", "Internet/UseNearbyStation",
        "Special/ShowDiscussion", "Special/ShowSummary", "Special/ShowPublic", "Special/ShowWatches",
        "Special/ShowStatements", "Special/ShowWarnings", "Notify/Warnings", "Notify/Watches", "Notify/Statements",
        "Notify/Others", "Notify/Sound", "Notify/AlertCheckMinutes"};
    EXPECT_EQ(recorder.writes, order);
    // What a reader or an options page takes for a value it cannot read is what a new file holds.
    for (const std::string &written : order) {
        const std::string section = written.substr(0, written.find('/'));
        const std::string key = written.substr(section.size() + 1);
        if (key.find("Font") == std::string::npos) {
            EXPECT_EQ(LSettings::DefaultOf(section, key), intOf(keeper, section.c_str(), key.c_str())) << written;
        }
    }
    EXPECT_EQ(LSettings::DefaultOf("notify", "soundextreme"), 1u);
    EXPECT_EQ(LSettings::DefaultOf("Notify", "MinimumSeverity"), 1u);

    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 15u);
    EXPECT_EQ(intOf(keeper, "General", "PressureScale"), 0u);
    EXPECT_EQ(intOf(keeper, "General", "ForegroundColor"), 255u);
    EXPECT_EQ(intOf(keeper, "General", "BackgroundColor"), 0u);
    EXPECT_EQ(intOf(keeper, "ForecastTicker", "Delay"), 30u);
    EXPECT_EQ(intOf(keeper, "ForecastTicker", "TextColor"), 65280u);
    EXPECT_EQ(intOf(keeper, "WarningsTicker", "TextColor"), 255u);
    EXPECT_EQ(intOf(keeper, "Special", "ShowWarnings"), 1u);
    EXPECT_EQ(intOf(keeper, "Special", "ShowStatements"), 0u);
    EXPECT_EQ(intOf(keeper, "Notify", "Watches"), 1u);
    EXPECT_EQ(intOf(keeper, "Notify", "Sound"), 0u);
    for (const char *section : {"General", "ForecastTicker", "WarningsTicker"}) {
        LBinary font;
        EXPECT_EQ(keeper.GetBinary(section, "Font", font, false), L_OK);
        EXPECT_EQ(bytesOf(font), bytesOf(LFontRecord::standard().toBinary())) << section;
    }
    EXPECT_FALSE(keeper.Exists("Location", "State", false));
    EXPECT_FALSE(keeper.Exists("Internet", "ConditionsBase", false));

    recorder.writes.clear();
    EXPECT_EQ(LSettings::InitDefaults(recorder), L_OK);
    EXPECT_TRUE(recorder.writes.empty()) << "a second start rewrote " << recorder.writes.front();
}

TEST(LWinKeeper, defaultsKeepStoredValuesOfAnyType)
{
    TempDir dir;
    LWinKeeper keeper(APP, dir.path().string());
    ASSERT_EQ(keeper.SetString("General", "UpdateTimeout", "15", false), L_OK);
    ASSERT_EQ(keeper.SetString("General", "Font", "", false), L_OK);
    ASSERT_EQ(keeper.SetInt("Special", "ShowWarnings", 0, false), L_OK);
    EXPECT_EQ(LSettings::InitDefaults(keeper), L_OK);

    std::uint32_t interval = 7;
    EXPECT_EQ(keeper.GetInt("General", "UpdateTimeout", interval, false), L_WRONGTYPE);
    EXPECT_EQ(interval, 7u);
    LString text = "untouched";
    EXPECT_EQ(keeper.GetString("General", "Font", text, false), L_OK);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(intOf(keeper, "Special", "ShowWarnings"), 0u);

    ASSERT_EQ(keeper.SetString("General", "UpdateTimeout", "1500", false), L_OK);
    EXPECT_EQ(LSettings::InitDefaults(keeper), L_OK);
    EXPECT_EQ(keeper.GetInt("General", "UpdateTimeout", interval, false), L_NOTFOUND);
    EXPECT_EQ(interval, 7u);
}

TEST(LWinKeeper, typeRules)
{
    TempDir dir;
    LWinKeeper keeper(APP, dir.path().string());
    const struct {
        const char *key;
        int kind; // 0 integer, 1 string, 2 binary
        std::string data;
        int getInt;
    } cases[] = {
        {"Number", 0, "", L_OK},
        {"Empty", 1, "", L_WRONGTYPE},
        {"Two", 1, "15", L_WRONGTYPE},
        {"Three", 1, "abc", L_WRONGTYPE},
        {"Four", 1, "abcd", L_NOTFOUND},
        {"NoBytes", 2, "", L_WRONGTYPE},
        {"FourBytes", 2, std::string("\x01\x02\x03\x04", 4), L_WRONGTYPE},
        {"FiveBytes", 2, std::string("\x01\x02\x03\x04\x05", 5), L_NOTFOUND},
    };
    for (const auto &c : cases) {
        const int set = c.kind == 0 ? keeper.SetInt("Types", c.key, 42, false)
            : c.kind == 1           ? keeper.SetString("Types", c.key, c.data.c_str(), false)
                                    : keeper.SetBinary("Types", c.key, binaryOf(c.data), false);
        ASSERT_EQ(set, L_OK) << c.key;
    }
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_TRUE(keeper.Exists("Types", c.key, false));
        std::uint32_t number = 7;
        LString text = "keep";
        LBinary bytes = binaryOf("kept");
        EXPECT_EQ(keeper.GetInt("Types", c.key, number, false), c.getInt);
        EXPECT_EQ(keeper.GetString("Types", c.key, text, false), c.kind == 1 ? L_OK : L_WRONGTYPE);
        EXPECT_EQ(keeper.GetBinary("Types", c.key, bytes, false), c.kind == 2 ? L_OK : L_WRONGTYPE);
        EXPECT_EQ(number, c.kind == 0 ? 42u : 7u);
        EXPECT_EQ(std::string(text), c.kind == 1 ? c.data : "keep");
        EXPECT_EQ(bytesOf(bytes), c.kind == 2 ? c.data : "kept");
    }

    std::uint32_t number = 7;
    EXPECT_FALSE(keeper.Exists("Types", "Missing", false));
    EXPECT_FALSE(keeper.Exists("Nowhere", "Number", false));
    EXPECT_EQ(keeper.GetInt("Types", "Missing", number, false), L_NOTFOUND);
    EXPECT_EQ(keeper.GetInt("Nowhere", "Number", number, false), L_NOTFOUND);
    EXPECT_EQ(number, 7u);

    EXPECT_EQ(keeper.InitInt("Types", "Three", 5, false), L_OK);
    EXPECT_EQ(keeper.GetInt("Types", "Three", number, false), L_WRONGTYPE);
    ASSERT_EQ(keeper.SetInt("Types", "Three", 5, false), L_OK);
    LString text;
    EXPECT_EQ(keeper.GetString("Types", "Three", text, false), L_WRONGTYPE);
    EXPECT_EQ(intOf(keeper, "Types", "Three"), 5u);
}

TEST(LWinKeeper, valuesRoundTrip)
{
    TempDir dir;
    LWinKeeper writer(APP, dir.path().string());
    const std::uint32_t numbers[] = {0u, 1u, 0x7fffffffu, 0x80000000u, 0xffffffffu, static_cast<std::uint32_t>(-13)};
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        ASSERT_EQ(writer.SetInt("Numbers", keyName("N", i).c_str(), numbers[i], false), L_OK);

    std::string allBytes;
    for (int c = 1; c < 256; ++c)
        allBytes += static_cast<char>(c);
    const std::vector<std::string> texts = {"", allBytes, "quote \" backslash \\ \\x41 \\n newline\n cr\r tab\t end",
        "  blanks at both ends  ", "\"", "[General]\nUpdateTimeout=int:1", std::string(100000, 'w')};
    for (std::size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(writer.SetString("Texts", keyName("T", i).c_str(), texts[i].c_str(), false), L_OK);

    const std::vector<std::string> blobs
        = {"", std::string("\0", 1), '\0' + allBytes + '\0', bytesOf(LFontRecord::standard().toBinary())};
    for (std::size_t i = 0; i < blobs.size(); ++i)
        ASSERT_EQ(writer.SetBinary("Blobs", keyName("B", i).c_str(), binaryOf(blobs[i]), false), L_OK);

    LWinKeeper reader(APP, dir.path().string());
    for (std::size_t i = 0; i < std::size(numbers); ++i)
        EXPECT_EQ(intOf(reader, "Numbers", keyName("N", i).c_str()), numbers[i]);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        LString text;
        EXPECT_EQ(reader.GetString("Texts", keyName("T", i).c_str(), text, false), L_OK);
        EXPECT_EQ(std::string(text), texts[i]) << "text " << i;
    }
    for (std::size_t i = 0; i < blobs.size(); ++i) {
        LBinary blob;
        EXPECT_EQ(reader.GetBinary("Blobs", keyName("B", i).c_str(), blob, false), L_OK);
        EXPECT_EQ(bytesOf(blob), blobs[i]) << "blob " << i;
    }
    EXPECT_FALSE(reader.Exists("General", "UpdateTimeout", false));
    EXPECT_EQ(intOf(reader, "numbers", "n4"), 0xffffffffu);
}

TEST(LWinKeeper, humanReadableFile)
{
    TempDir dir;
    LWinKeeper keeper(APP, dir.path().string());
    ASSERT_EQ(keeper.SetInt("General", "UpdateTimeout", 15, false), L_OK);
    ASSERT_EQ(keeper.SetString("Internet", "ProxyLocation", "proxy \"a\"\n", false), L_OK);
    ASSERT_EQ(keeper.SetBinary("General", "Font", binaryOf(std::string("\xf3\x00\x22", 3)), false), L_OK);
    const std::string text = TempDir::read(dir.file("Nimbrel.conf"));
    EXPECT_NE(text.find("[General]\nUpdateTimeout=int:15\nFont=bin:f30022\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Internet]\nProxyLocation=str:\"proxy \\\"a\\\"\\n\"\n"), std::string::npos) << text;

    dir.write("Nimbrel.conf",
        "# edited by hand\r\n"
        "  [ General ]  \r\n"
        "; a comment\n"
        "UpdateTimeout = int: 20\r\n"
        "ProxyLocation=str:\"caf\xc3\xa9 \\x41\"\n"
        "[general]\n"
        "Font=bin:ABcd");
    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 20u);
    LString text2;
    EXPECT_EQ(keeper.GetString("General", "ProxyLocation", text2, false), L_OK);
    EXPECT_STREQ(text2, "caf\xc3\xa9 A");
    LBinary font;
    EXPECT_EQ(keeper.GetBinary("GENERAL", "font", font, false), L_OK);
    EXPECT_EQ(bytesOf(font), "\xab\xcd");
}

TEST(LWinKeeper, settingsDirectory)
{
    TempDir dir;
    const std::string config = dir.file("config");
    const ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
    const ScopedEnv unset("NIMBREL_SETTINGS_DIR", nullptr);
    LWinKeeper byDefault(APP);
    EXPECT_EQ(byDefault.FilePath(false), config + "/Nimbrel/Nimbrel.conf");
    EXPECT_EQ(byDefault.FilePath(true), config + "/Nimbrel/Nimbrel-global.conf");
    ASSERT_EQ(byDefault.SetInt("General", "UpdateTimeout", 3, false), L_OK);
    EXPECT_TRUE(std::filesystem::is_regular_file(config + "/Nimbrel/Nimbrel.conf"));
    EXPECT_FALSE(byDefault.Exists("General", "UpdateTimeout", true));

    {
        const ScopedEnv portable("NIMBREL_SETTINGS_DIR", dir.file("portable").c_str());
        LWinKeeper fromEnvironment(APP);
        EXPECT_EQ(fromEnvironment.FilePath(false), dir.file("portable") + "/Nimbrel.conf");
        EXPECT_FALSE(fromEnvironment.Exists("General", "UpdateTimeout", false));
        LWinKeeper named(APP, dir.file("named"));
        EXPECT_EQ(named.FilePath(false), dir.file("named") + "/Nimbrel.conf");
    }
    const ScopedEnv relative("XDG_CONFIG_HOME", "relative");
    const ScopedEnv home("HOME", dir.file("home").c_str());
    LWinKeeper inHome(APP);
    EXPECT_EQ(inHome.FilePath(false), dir.file("home") + "/.config/Nimbrel/Nimbrel.conf");
    inHome.SetDirectory(dir.file("named"));
    EXPECT_EQ(inHome.FilePath(false), dir.file("named") + "/Nimbrel.conf");
}

// One bad line costs that line only: the others are read, and the next write keeps the original aside and writes
// the good ones back, telling the listener which lines were left out and where the original is.
TEST(LWinKeeper, damagedLinesAreDroppedAndTheRestKept)
{
    TempDir dir;
    const std::string broken = "[General]\nUpdateTimeout=int:30\nthis line is not a setting\nTemperatureScale=int:-1\n"
                               "[Location]\nState=int:17\nCity=int:1772000\n[Inter\nUseProxy=int:1\n";
    dir.write("Nimbrel.conf", broken);
    LWinKeeper keeper(APP, dir.path().string());
    NoteTaker notes;
    keeper.SetListener(&notes);
    EXPECT_EQ(intOf(keeper, "Location", "City"), 1772000u);
    EXPECT_FALSE(keeper.Exists("Inter", "UseProxy", false));
    EXPECT_FALSE(keeper.Exists("Location", "UseProxy", false)) << "a line under a damaged header changed sections";
    // The worker thread's keeper, which tells no one, may be the first to write; the window's tells it all the same.
    LWinKeeper worker(APP, dir.path().string());
    testing::internal::CaptureStderr();
    EXPECT_EQ(worker.SetString("Internet", "ApiBase", "http://127.0.0.1/", false), L_OK);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(notes.repaired.empty());
    EXPECT_EQ(LSettings::InitDefaults(keeper), L_OK);

    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 30u);
    EXPECT_EQ(intOf(keeper, "General", "TemperatureScale"), 0u);
    EXPECT_EQ(intOf(keeper, "Location", "State"), 17u);
    const std::vector<std::string> aside = asideFiles(dir);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(TempDir::read(aside[0]), broken);
    EXPECT_EQ(notes.repaired,
        std::vector<std::string>{keeper.FilePath(false)
            + " [line 3: expected Key=type:value; line 4: invalid value (expected int:, str:\"...\" or bin:); line 8: "
              "section header without ']'; 1 more] "
            + aside[0]});
    EXPECT_TRUE(notes.notSaved.empty());
    EXPECT_NE(report.find(aside[0]), std::string::npos) << report;
    EXPECT_EQ(report.find('\n'), report.size() - 1) << "reported more than once: " << report;

    // Mending at once, before any write, does the same; a sound file is left alone.
    EXPECT_EQ(keeper.Repair(), L_OK);
    EXPECT_EQ(notes.repaired.size(), 1u);
    dir.write("Nimbrel.conf", "[General]\nUpdateTimeout=int:99999999999\nWindSpeedScale=int:1\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(keeper.Repair(), L_OK);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(notes.repaired.size(), 2u);
    EXPECT_EQ(TempDir::read(keeper.FilePath(false)).find("UpdateTimeout"), std::string::npos);
    EXPECT_EQ(intOf(keeper, "General", "WindSpeedScale"), 1u);
}

TEST(LWinKeeper, unparseableFileMovedAside)
{
    TempDir dir;
    const std::string broken = "[General]\nUpdateTimeout=int:30\nthis line is not a setting\n";
    dir.write("Nimbrel.conf", broken);
    LWinKeeper keeper(APP, dir.path().string());
    testing::internal::CaptureStderr();
    ASSERT_EQ(keeper.SetInt("General", "UpdateTimeout", 20, false), L_OK);
    const std::string report = testing::internal::GetCapturedStderr();

    const std::vector<std::string> aside = asideFiles(dir);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(TempDir::read(aside[0]), broken);
    EXPECT_NE(report.find("line 3"), std::string::npos) << report;
    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 20u);

    dir.write("Nimbrel.conf", "[General]\nUpdateTimeout=int:4294967296\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(keeper.SetInt("General", "UpdateTimeout", 25, false), L_OK);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(asideFiles(dir).size(), 2u) << "a second broken file replaced the first one kept aside";
}

// Whatever the file holds, reads find nothing in it and the next write starts afresh.
TEST(LWinKeeper, anyFileContentIsSafe)
{
    std::string allBytes;
    for (int c = 0; c < 256; ++c)
        allBytes += static_cast<char>(c);
    const std::vector<std::string> contents = {std::string(2 * 1024 * 1024, 'x'), allBytes + allBytes,
        "[General]\nUpdateTimeout=int:99999999999999999999999999\n", "[General]\nUpdateTimeout=int:-1\n",
        "[General]\nUpdateTimeout=int:0x10\n", "[General]\nProxy=str:\"unterminated\n",
        "[General]\nProxy=str:\"bad \\q escape\"\n", "[General]\nProxy=str:\"nul \\x00\"\n",
        "[General]\nProxy=str:\"cut \\x4\"\n", "[General]\nProxy=str:\"a\" trailing\n", "[General]\nFont=bin:abc\n",
        "[General]\nFont=bin:zz\n", "UpdateTimeout=int:1\n[General]\n", std::string("[Gen\0ral]\n", 10), "[General\n",
        "[]\n", "[General]\n=int:5\n", "[General]\nUpdateTimeout\n", "[General]\nKey=float:1.5\n",
        "[" + std::string(300, 'S') + "]\n"};
    for (std::size_t i = 0; i < contents.size(); ++i) {
        SCOPED_TRACE("content " + std::to_string(i));
        TempDir dir;
        dir.write("Nimbrel.conf", contents[i]);
        LWinKeeper keeper(APP, dir.path().string());
        std::uint32_t number = 7;
        EXPECT_FALSE(keeper.Exists("General", "UpdateTimeout", false));
        EXPECT_EQ(keeper.GetInt("General", "UpdateTimeout", number, false), L_NOTFOUND);
        testing::internal::CaptureStderr();
        EXPECT_EQ(keeper.SetInt("General", "Written", 1, false), L_OK);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(intOf(keeper, "General", "Written"), 1u);
        EXPECT_EQ(asideFiles(dir).size(), 1u);
    }
}

TEST(LWinKeeper, damagedFilesNeverCrash)
{
    const std::string valid = "[General]\nUpdateTimeout=int:15\nFont=bin:f3ffffff0000\n"
                              "[Internet]\nProxyLocation=str:\"h\\x41st:80 \\\"q\\\"\"\n";
    std::mt19937 random(20240521);
    for (int round = 0; round < 300; ++round) {
        std::string text = valid;
        for (int edits = 1 + static_cast<int>(random() % 4); edits > 0; --edits) {
            const std::size_t at = random() % (text.size() + 1);
            const char byte = static_cast<char>(random() % 256);
            const int kind = static_cast<int>(random() % 3);
            if (kind == 0 && at < text.size())
                text[at] = byte;
            else if (kind == 1)
                text.insert(at, 1, byte);
            else
                text.resize(at);
        }
        TempDir dir;
        dir.write("Nimbrel.conf", text);
        LWinKeeper keeper(APP, dir.path().string());
        std::uint32_t number = 0;
        LString string;
        LBinary binary;
        keeper.GetInt("General", "UpdateTimeout", number, false);
        keeper.GetString("Internet", "ProxyLocation", string, false);
        keeper.GetBinary("General", "Font", binary, false);
        testing::internal::CaptureStderr();
        ASSERT_EQ(keeper.SetInt("General", "Written", 9, false), L_OK) << text;
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(intOf(keeper, "General", "Written"), 9u) << text;
    }
}

TEST(LWinKeeper, failedWritesKeepTheStore)
{
    TempDir dir;
    std::uint32_t number = 7;

    LWinKeeper keeper(APP, dir.path().string());
    ASSERT_EQ(keeper.SetInt("General", "UpdateTimeout", 15, false), L_OK);
    EXPECT_EQ(keeper.SetInt("Bad]Section", "Key", 1, false), L_CREATE);
    EXPECT_EQ(keeper.SetInt("", "Key", 1, false), L_CREATE);
    EXPECT_EQ(keeper.SetInt("General", "Bad=Key", 1, false), L_OUTPUT);
    EXPECT_EQ(keeper.SetInt("General", "Bad\nKey", 1, false), L_OUTPUT);
    EXPECT_FALSE(keeper.Exists("General", "Bad=Key", false));
    EXPECT_EQ(
        keeper.SetBinary("General", "Huge", LBinary(std::string(2 * 1024 * 1024, 'h').data(), 2 * 1024 * 1024), false),
        L_OUTPUT);
    EXPECT_FALSE(keeper.Exists("General", "Huge", false));
    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 15u);
    EXPECT_EQ(keeper.GetInt("General", "Huge", number, false), L_NOTFOUND);
    EXPECT_EQ(number, 7u);
}

// Wherever the file cannot be written, the person is told what and why, and the program goes on with the value, in
// every keeper of the process; the first write that succeeds saves it with the rest.
TEST(LWinKeeper, valuesThatCannotBeSavedStayInEffect)
{
    TempDir dir;
    dir.write("blocked", "a file where the settings directory should be");
    std::filesystem::create_directories(dir.file("folder") + "/Nimbrel.conf");
    std::filesystem::create_directories(dir.file("fifo"));
    ASSERT_EQ(::mkfifo(dir.file("fifo/Nimbrel.conf").c_str(), 0600), 0);
    const std::vector<std::pair<std::string, std::string>> places = {
        {"blocked", "Not a directory"},
        {"folder", "a folder stands in place of the file"},
        {"fifo", "it is not a regular file"},
    };
    for (const auto &[folder, reason] : places) {
        LWinKeeper keeper(APP, dir.file(folder));
        NoteTaker notes;
        keeper.SetListener(&notes);
        EXPECT_NE(keeper.SetInt("Location", "City", 1772000, false), L_OK) << folder;
        ASSERT_EQ(notes.notSaved.size(), 1u) << folder;
        EXPECT_NE(notes.notSaved[0].find(keeper.FilePath(false) + " Location/City: "), std::string::npos);
        EXPECT_NE(notes.notSaved[0].find(reason), std::string::npos) << notes.notSaved[0];
        LWinKeeper worker(APP, dir.file(folder));
        EXPECT_EQ(intOf(worker, "Location", "City"), 1772000u) << folder;
    }

    // Once the file can be written again, the value kept in memory is saved with the next one.
    std::filesystem::remove_all(dir.file("folder") + "/Nimbrel.conf");
    LWinKeeper keeper(APP, dir.file("folder"));
    ASSERT_EQ(keeper.SetInt("Location", "State", 17, false), L_OK);
    const std::string saved = TempDir::read(keeper.FilePath(false));
    EXPECT_NE(saved.find("City=int:1772000"), std::string::npos) << saved;
    EXPECT_NE(saved.find("State=int:17"), std::string::npos) << saved;
}

TEST(LWinKeeper, readOnlyFolderIsReported)
{
    TempDir dir;
    ReadOnlyFolder folder(dir.file("readonly"));
    if (!folder.ready())
        GTEST_SKIP() << "root is not held back by permissions, and no read-only tmpfs can be mounted here";
    LWinKeeper keeper(APP, dir.file("readonly"));
    NoteTaker notes;
    keeper.SetListener(&notes);
    EXPECT_EQ(keeper.Repair(), L_CREATE);
    EXPECT_EQ(keeper.SetInt("General", "UpdateTimeout", 30, false), L_CREATE);
    ASSERT_EQ(notes.notSaved.size(), 2u);
    const std::string reason = ::geteuid() == 0 ? "Read-only file system" : "Permission denied";
    EXPECT_EQ(notes.notSaved[0], keeper.FilePath(false) + " /: " + reason);
    EXPECT_EQ(notes.notSaved[1], keeper.FilePath(false) + " General/UpdateTimeout: " + reason);
    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 30u);
}

// People keep their settings in a repository and link them: a write replaces the file the link points to, in that
// file's own folder, and the link stays a link.
TEST(LWinKeeper, symlinkedFileIsWrittenThrough)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("dotfiles"));
    std::filesystem::create_directories(dir.file("config"));
    dir.write("dotfiles/Nimbrel.conf", "[General]\nUpdateTimeout=int:30\n");
    ASSERT_EQ(::chmod(dir.file("dotfiles/Nimbrel.conf").c_str(), 0644), 0);
    std::filesystem::create_symlink("../dotfiles/Nimbrel.conf", dir.file("config/Nimbrel.conf"));
    LWinKeeper keeper(APP, dir.file("config"));
    ASSERT_EQ(keeper.SetInt("General", "WindSpeedScale", 1, false), L_OK);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("config/Nimbrel.conf")));
    struct stat info {
    };
    ASSERT_EQ(::stat(dir.file("dotfiles/Nimbrel.conf").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u) << "the file's permissions changed";
    const std::string target = TempDir::read(dir.file("dotfiles/Nimbrel.conf"));
    EXPECT_NE(target.find("UpdateTimeout=int:30"), std::string::npos) << target;
    EXPECT_NE(target.find("WindSpeedScale=int:1"), std::string::npos) << target;

    // A damaged target is kept aside beside itself, and the link still leads to the mended file.
    dir.write("dotfiles/Nimbrel.conf", "[General]\nUpdateTimeout=int:30\ngarbage\n");
    testing::internal::CaptureStderr();
    ASSERT_EQ(keeper.SetInt("General", "PressureScale", 2, false), L_OK);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("config/Nimbrel.conf")));
    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 30u);
    std::size_t aside = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir.file("dotfiles")))
        aside += entry.path().filename().string().rfind("Nimbrel.conf.corrupt-", 0) == 0 ? 1 : 0;
    EXPECT_EQ(aside, 1u);
}

TEST(LWinKeeper, twoThreadsLoseNothing)
{
    TempDir dir;
    const std::string directory = dir.path().string();
    LWinKeeper keeper(APP, directory);
    ASSERT_EQ(keeper.SetString("Race", "Stable", "always there", false), L_OK);

    std::atomic<bool> writing = true;
    std::atomic<int> missed = 0;
    std::thread reader([&] {
        LWinKeeper own(APP, directory);
        while (writing) {
            LString text;
            missed += own.GetString("Race", "Stable", text, false) != L_OK;
        }
    });
    int failuresA = 0;
    int failuresB = 0;
    std::thread first([&] { failuresA = writeKeys(directory, "A", 1000); });
    std::thread second([&] { failuresB = writeKeys(directory, "B", 1000); });
    first.join();
    second.join();
    writing = false;
    reader.join();

    EXPECT_EQ(failuresA + failuresB, 0);
    EXPECT_EQ(missed, 0) << "a reader saw a half-written file";
    expectKeys(keeper, "A", 1000);
    expectKeys(keeper, "B", 1000);
}

TEST(LWinKeeper, twoProcessesLoseNothing)
{
    TempDir dir;
    const std::string directory = dir.path().string();
    std::vector<pid_t> children;
    for (const char *prefix : {"P", "Q"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(writeKeys(directory, prefix, 1000) == 0 ? 0 : 1);
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer process failed";
    }
    LWinKeeper keeper(APP, directory);
    expectKeys(keeper, "P", 1000);
    expectKeys(keeper, "Q", 1000);
}

// A file larger than any settings file should be keeps every line that can be read: the size of the file costs
// nothing, and a line too long to be a setting costs that line only.
TEST(LWinKeeper, largeFilesKeepEveryReadableLine)
{
    const std::string place = "[Location]\nState=int:17\nCity=int:1772000\n"
                              "[Internet]\nConditionsBase=str:\"http://127.0.0.1:8080/weather/current/\"\n";
    std::string bulk = place + "[Bulk]\n";
    std::size_t keys = 0;
    for (; bulk.size() < 8 * 1024 * 1024; ++keys)
        bulk += keyName("K", keys) + "=int:" + std::to_string(keys) + '\n';
    TempDir dir;
    dir.write("Nimbrel.conf", bulk);
    LWinKeeper keeper(APP, dir.path().string());
    NoteTaker notes;
    keeper.SetListener(&notes);
    EXPECT_EQ(keeper.Repair(), L_OK);
    EXPECT_TRUE(notes.repaired.empty()) << notes.repaired[0];
    EXPECT_EQ(intOf(keeper, "Location", "City"), 1772000u);
    const std::string last = keyName("K", keys - 1);
    EXPECT_EQ(intOf(keeper, "Bulk", last.c_str()), keys - 1);
    ASSERT_EQ(keeper.SetInt("General", "WindSpeedScale", 1, false), L_OK);
    EXPECT_NE(TempDir::read(keeper.FilePath(false)).find(last + "=int:"), std::string::npos);

    // Place and servers, then one line of 10 MB, then one more setting.
    const std::string longLine
        = place + "Junk=str:\"" + std::string(10 * 1024 * 1024, 'j') + "\"\n[General]\n" + "PressureScale=int:2\n";
    dir.write("Nimbrel.conf", longLine);
    testing::internal::CaptureStderr();
    EXPECT_EQ(keeper.Repair(), L_OK);
    testing::internal::GetCapturedStderr();
    const std::vector<std::string> aside = asideFiles(dir);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(notes.repaired,
        std::vector<std::string>{keeper.FilePath(false) + " [line 6: longer than 1048576 bytes] " + aside[0]});
    EXPECT_EQ(TempDir::read(aside[0]).size(), longLine.size());
    EXPECT_EQ(intOf(keeper, "Location", "State"), 17u);
    EXPECT_EQ(intOf(keeper, "General", "PressureScale"), 2u);
    LString base;
    EXPECT_EQ(keeper.GetString("Internet", "ConditionsBase", base, false), L_OK);
    EXPECT_EQ(std::string(base), "http://127.0.0.1:8080/weather/current/");
    EXPECT_FALSE(keeper.Exists("Internet", "Junk", false));
    EXPECT_LT(TempDir::read(keeper.FilePath(false)).size(), 1024u);
}

// A number the options would never store (an interval of 4294967295 minutes left a window that never updated) is
// held to the options' range when read, and named as a damaged line is; a stored 0 still stops updating.
TEST(LWinKeeper, numbersAreHeldToTheOptionsRanges)
{
    TempDir dir;
    const std::string stored = "[General]\nUpdateTimeout=int:4294967295\n[ForecastTicker]\nDelay=int:2\n"
                               "[WarningsTicker]\nDelay=int:51\n";
    dir.write("Nimbrel.conf", stored);
    LWinKeeper keeper(APP, dir.path().string());
    NoteTaker notes;
    keeper.SetListener(&notes);
    EXPECT_EQ(intOf(keeper, LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), LSettings::MAX_INTERVAL);
    EXPECT_EQ(intOf(keeper, LSettings::FORECAST_TICKER, LSettings::DELAY), LSettings::MIN_DELAY);
    EXPECT_EQ(intOf(keeper, LSettings::WARNINGS_TICKER, LSettings::DELAY), LSettings::MAX_DELAY);
    const std::string held = "line 2: UpdateTimeout 4294967295 is outside 0 to 180, so 180 is used; line 4: Delay 2 "
                             "is outside 5 to 50, so 5 is used; line 6: Delay 51 is outside 5 to 50, so 50 is used";
    std::string reason;
    EXPECT_EQ(keeper.Check(false, reason), L_FORMAT);
    EXPECT_EQ(reason, held);

    testing::internal::CaptureStderr();
    EXPECT_EQ(keeper.Repair(), L_OK);
    testing::internal::GetCapturedStderr();
    const std::vector<std::string> aside = asideFiles(dir);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(notes.repaired, std::vector<std::string>{keeper.FilePath(false) + " [" + held + "] " + aside[0]});
    EXPECT_NE(TempDir::read(keeper.FilePath(false)).find("UpdateTimeout=int:180\n"), std::string::npos);
    EXPECT_EQ(keeper.Check(false, reason), L_OK);

    ASSERT_EQ(keeper.SetInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, LSettings::NO_UPDATES, false), L_OK);
    EXPECT_EQ(intOf(keeper, LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), LSettings::NO_UPDATES);
    EXPECT_EQ(keeper.Check(false, reason), L_OK) << reason;
}

// The window's thread writes settings: another program that holds the lock makes the write fail after a couple of
// seconds, as any write that cannot be done, instead of freezing the window.
TEST(LWinKeeper, heldLockFailsTheWriteWithinTheDeadline)
{
    TempDir dir;
    LWinKeeper keeper(APP, dir.path().string());
    ASSERT_EQ(keeper.SetInt("General", "UpdateTimeout", 15, false), L_OK);
    NoteTaker notes;
    keeper.SetListener(&notes);
    {
        LockHolder other(keeper.FilePath(false) + ".lock");
        ASSERT_TRUE(other.held());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(keeper.SetInt("General", "UpdateTimeout", 30, false), L_CREATE);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    }
    ASSERT_EQ(notes.notSaved.size(), 1u);
    EXPECT_EQ(notes.notSaved[0],
        keeper.FilePath(false)
            + " General/UpdateTimeout: another program has kept the settings locked for over 2 seconds");
    EXPECT_EQ(notes.failures, std::vector<LSettingsFailure>{LSettingsFailure::Locked});
    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 30u);
    ASSERT_EQ(keeper.SetInt("General", "WindSpeedScale", 1, false), L_OK);
    EXPECT_NE(TempDir::read(keeper.FilePath(false)).find("UpdateTimeout=int:30\n"), std::string::npos);
}

// A keeper asked for setting after setting reads the file once, and again as soon as anyone changed it.
TEST(LWinKeeper, readsParseTheFileOnlyWhenItChanged)
{
    TempDir dir;
    dir.write("Nimbrel.conf", "[General]\nUpdateTimeout=int:15\n");
    LWinKeeper keeper(APP, dir.path().string());
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 15u);
    EXPECT_FALSE(keeper.Exists("General", "Missing", false));
    EXPECT_EQ(keeper.FileReads(), 1u);

    LWinKeeper other(APP, dir.path().string());
    ASSERT_EQ(other.SetInt("General", "UpdateTimeout", 20, false), L_OK);
    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 20u);
    // Rewritten in place by a program that keeps the inode, to a text of the same size.
    const std::string text = TempDir::read(keeper.FilePath(false));
    std::string edited = text;
    edited.replace(edited.find("int:20"), 6, "int:25");
    ASSERT_EQ(edited.size(), text.size());
    dir.write("Nimbrel.conf", edited);
    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 25u);
    EXPECT_EQ(keeper.FileReads(), 3u);
    std::filesystem::remove(keeper.FilePath(false));
    EXPECT_FALSE(keeper.Exists("General", "UpdateTimeout", false));
}

// A full disk is told as such, not as a folder to make writable; the value stays in effect.
TEST(LWinKeeper, fullDiskIsReported)
{
    TempDir dir;
    FullFolder folder(dir.file("full"));
    if (!folder.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here to fill";
    LWinKeeper keeper(APP, dir.file("full"));
    ASSERT_EQ(keeper.SetInt("General", "UpdateTimeout", 15, false), L_OK);
    folder.fill();
    NoteTaker notes;
    keeper.SetListener(&notes);
    EXPECT_EQ(keeper.SetString("Internet", "ProxyLocation", std::string(8192, 'p').c_str(), false), L_OUTPUT);
    ASSERT_EQ(notes.notSaved.size(), 1u);
    EXPECT_EQ(notes.notSaved[0], keeper.FilePath(false) + " Internet/ProxyLocation: No space left on device");
    EXPECT_EQ(notes.failures, std::vector<LSettingsFailure>{LSettingsFailure::DiskFull});
    LString proxy;
    EXPECT_EQ(keeper.GetString("Internet", "ProxyLocation", proxy, false), L_OK);
    EXPECT_EQ(intOf(keeper, "General", "UpdateTimeout"), 15u);
}

TEST(LFontRecord, standardLayout)
{
    const LBinary standard = LFontRecord::standard().toBinary();
    ASSERT_EQ(standard.size(), 60u);
    const std::string bytes = bytesOf(standard);
    EXPECT_EQ(bytes.substr(0, 20), std::string("\xf3\xff\xff\xff\0\0\0\0\0\0\0\0\0\0\0\0\x90\x01\0\0", 20));
    EXPECT_EQ(bytes.substr(20, 8), std::string("\0\0\0\0\x01\x02\x01\x22", 8));
    EXPECT_EQ(bytes.substr(28), std::string("MS Sans Serif") + std::string(19, '\0'));

    LFontRecord record;
    record.height = -2147483647 - 1;
    record.width = 0x01020304;
    record.weight = 700;
    record.italic = 1;
    record.strikeOut = 0xff;
    for (std::size_t i = 0; i < LFontRecord::FACE_SIZE; ++i)
        record.faceName[i] = static_cast<char>('a' + i % 26);
    const LBinary stored = record.toBinary();
    EXPECT_EQ(bytesOf(stored).substr(0, 8), std::string("\0\0\0\x80\x04\x03\x02\x01", 8));
    LFontRecord back;
    ASSERT_TRUE(back.fromBinary(stored));
    EXPECT_EQ(bytesOf(back.toBinary()), bytesOf(stored));
    EXPECT_EQ(back.height, record.height);
    EXPECT_EQ(back.strikeOut, 0xff);
    EXPECT_EQ(std::string(back.face()), "abcdefghijklmnopqrstuvwxyzabcdef");
    EXPECT_STREQ(LFontRecord::standard().face(), "MS Sans Serif");

    EXPECT_FALSE(back.fromBinary(binaryOf(bytes.substr(0, 59))));
    EXPECT_EQ(back.weight, 700);
}
