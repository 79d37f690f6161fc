#include "settings/lplacecache.h"

#include "corekit/lregularfile.h"
#include "settings/latomicwrite_p.h"
#include "settings/lplacecachejson_p.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

using namespace corekit;
using namespace meteo;
using json = nlohmann::json;

namespace settings
{

namespace
{

// What a cut text ends with, so that nobody takes it for the whole.
constexpr std::string_view CUT_MARK = " [...]";
// The most cuts before the file is given up; a few do in practice, since each takes the excess or half a text.
constexpr int MAX_CUTS = 200;

std::string dump(const LPlaceCacheRecord &record)
{
    // A text from outside with a broken character must not keep the rest from being written.
    return placeCacheToJson(record).dump(-1, ' ', false, json::error_handler_t::replace) + '\n';
}

// The texts of the record that may be cut, each a person reads at length.
std::vector<std::string *> cuttableTexts(LPlaceCacheRecord &record)
{
    std::vector<std::string *> texts;
    if (record.forecast)
        texts.push_back(&record.forecast->text);
    for (auto &message : record.messages) {
        if (message)
            texts.push_back(&message->text);
    }
    for (WAlertRecord &alert : record.alerts) {
        texts.push_back(&alert.text);
        texts.push_back(&alert.description);
    }
    for (auto *forecast : {&record.periods, &record.hours}) {
        if (*forecast) {
            for (WForecastPeriod &period : (*forecast)->periods)
                texts.push_back(&period.detailedForecast);
        }
    }
    return texts;
}

// Cuts the excess off the text, or half of it when the excess is more than half, at the start of a character, and
// marks the cut.
void cut(std::string &text, std::size_t excess)
{
    std::size_t keep = text.size() > 2 * excess ? text.size() - excess : text.size() / 2;
    keep = keep > CUT_MARK.size() ? keep - CUT_MARK.size() : 0;
    while (keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0u) == 0x80u)
        --keep;
    text.resize(keep);
    text += CUT_MARK;
}

// Whether cutting every text to its mark would bring the file within MAX_SIZE at all: a flood of short alerts does
// not fit however its texts are cut.
bool cuttingHelps(const std::vector<std::string *> &texts, std::size_t size)
{
    std::size_t removable = 0;
    for (const std::string *text : texts)
        removable += text->size() > CUT_MARK.size() ? text->size() - CUT_MARK.size() : 0;
    return size - std::min(size, removable) <= LPlaceCache::MAX_SIZE;
}

// The file's text within MAX_SIZE, the largest texts cut first; empty when even that does not make it fit.
std::string fitted(LPlaceCacheRecord record)
{
    std::string text = dump(record);
    for (int cuts = 0; text.size() > LPlaceCache::MAX_SIZE && cuts < MAX_CUTS; ++cuts) {
        std::vector<std::string *> texts = cuttableTexts(record);
        auto largest = std::max_element(texts.begin(), texts.end(),
            [](const std::string *a, const std::string *b) { return a->size() < b->size(); });
        if (largest == texts.end() || (*largest)->size() <= CUT_MARK.size() || !cuttingHelps(texts, text.size()))
            break;
        cut(**largest, text.size() - LPlaceCache::MAX_SIZE);
        text = dump(record);
    }
    return text.size() <= LPlaceCache::MAX_SIZE ? text : std::string();
}

// The version and the place come first: a file of another version may hold anything.
LPlaceCache::Loaded check(const json &document, std::uint32_t state, std::uint32_t city, std::string &reason)
{
    if (!document.is_object() || !document.contains("version") || document["version"] != LPlaceCache::VERSION) {
        reason = "it is of an unknown version";
        return LPlaceCache::Loaded::Foreign;
    }
    if (document.value("state", json()) != state || document.value("city", json()) != city) {
        reason = "it is for another place";
        return LPlaceCache::Loaded::Foreign;
    }
    return LPlaceCache::Loaded::Read;
}

LPlaceCache::Loaded parse(const std::string &text, std::uint32_t state, std::uint32_t city, std::int64_t now,
    LPlaceCacheRecord &record, std::string &reason)
{
    const json document = json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        reason = "it is not valid JSON";
        return LPlaceCache::Loaded::Damaged;
    }
    if (const LPlaceCache::Loaded checked = check(document, state, city, reason); checked != LPlaceCache::Loaded::Read)
        return checked;
    LPlaceCacheRecord read;
    try {
        read = placeCacheFromJson(document);
    } catch (const json::exception &) {
        reason = "a value is missing or of the wrong kind";
        return LPlaceCache::Loaded::Damaged;
    }
    if (read.written > now + LPlaceCache::AHEAD_LIMIT) {
        reason = "it was written ahead of this computer's clock";
        return LPlaceCache::Loaded::Future;
    }
    record = std::move(read);
    return LPlaceCache::Loaded::Read;
}

} // namespace

LPlaceCache::LPlaceCache(std::string directory)
    : m_directory(std::move(directory))
{
}

// The base directory rules ignore a relative XDG_CACHE_HOME.
std::string LPlaceCache::directoryFor(const std::string &settingsDirectory)
{
    if (!settingsDirectory.empty())
        return settingsDirectory + "/cache";
    // Where the keeper takes its folder from the environment, the cache goes beside it as well.
    if (const char *folder = std::getenv("NIMBREL_SETTINGS_DIR"); folder && *folder)
        return std::string(folder) + "/cache";
    if (const char *cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/')
        return std::string(cache) + "/Nimbrel";
    if (const char *home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.cache/Nimbrel";
    return std::string();
}

std::string LPlaceCache::pathOf(std::uint32_t state, std::uint32_t city) const
{
    return m_directory + "/place-" + std::to_string(state) + '-' + std::to_string(city) + ".json";
}

LPlaceCache::Loaded LPlaceCache::load(
    std::uint32_t state, std::uint32_t city, std::int64_t now, LPlaceCacheRecord &record, std::string &reason) const
{
    record = LPlaceCacheRecord();
    if (m_directory.empty())
        return Loaded::Missing;
    LRegularFile file(pathOf(state, city));
    if (file.state() == LRegularFile::State::Missing)
        return Loaded::Missing;
    std::string text;
    if (file.state() != LRegularFile::State::Open || !file.readUpTo(MAX_SIZE + 1, text)) {
        reason = "it cannot be read";
        return Loaded::Damaged;
    }
    if (text.size() > MAX_SIZE) {
        reason = "it is larger than " + std::to_string(MAX_SIZE / 1024) + " KB";
        return Loaded::Damaged;
    }
    return parse(text, state, city, now, record, reason);
}

int LPlaceCache::save(const LPlaceCacheRecord &record, std::string &reason) const
{
    const std::string text = fitted(record);
    int error = m_directory.empty() ? ENOENT : text.empty() ? EFBIG : 0;
    std::error_code made;
    if (error == 0 && !std::filesystem::create_directories(m_directory, made) && made)
        error = made.value();
    if (error == 0)
        error = writeAtomically(pathOf(record.state, record.city), text);
    reason = error != 0 ? std::generic_category().message(error) : std::string();
    return error;
}

} // namespace settings
