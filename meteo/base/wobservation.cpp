#include "meteo/base/wobservation.h"

#include "meteo/base/wcomfort.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace meteo
{

namespace
{

constexpr float METRES_PER_MILE = 1609.344f;
// '9999' stands for 10 km or more, '0000' for less than 50 m.
constexpr int METRIC_TOP = 9999;
constexpr float METRIC_TOP_M = 10000.0f;
constexpr float METRIC_BOTTOM_M = 50.0f;
// Beyond the air's records a value is a damaged report, and the formulas would overflow on it.
constexpr float MOST_DEGREES_C = 80.0f;
constexpr float MOST_KNOTS = 300.0f;

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The whole text as a number of at most four digits: '035' is 35; '', '3A', '+1' and '12345' are none.
bool digits(std::string_view text, int &value)
{
    if (text.empty() || text.size() > 4
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return true;
}

// The blank-separated groups of a text, one at a time.
class Groups
{
public:
    explicit Groups(std::string_view text)
        : m_rest(text)
    {
    }

    bool next(std::string_view &group)
    {
        const std::size_t start = m_rest.find_first_not_of(' ');
        if (start == std::string_view::npos)
            return false;
        m_rest.remove_prefix(start);
        const std::size_t end = std::min(m_rest.find(' '), m_rest.size());
        group = m_rest.substr(0, end);
        m_rest.remove_prefix(end);
        return true;
    }

private:
    std::string_view m_rest;
};

// A code of the report and its words.
struct Code {
    std::string_view code;
    const char *words;
};

constexpr std::array<Code, 8> DESCRIPTORS = {{{"MI", "shallow"}, {"PR", "partial"}, {"BC", "patches of"},
    {"DR", "low drifting"}, {"BL", "blowing"}, {"SH", "showers"}, {"TS", "thunderstorm"}, {"FZ", "freezing"}}};
// 'PL' (ice pellets) replaced 'PE', which older reports still carry.
constexpr std::array<Code, 23> PHENOMENA = {{{"DZ", "drizzle"}, {"RA", "rain"}, {"SN", "snow"}, {"SG", "snow grains"},
    {"IC", "ice crystals"}, {"PL", "ice pellets"}, {"PE", "ice pellets"}, {"GR", "hail"}, {"GS", "small hail"},
    {"UP", "unknown precipitation"}, {"BR", "mist"}, {"FG", "fog"}, {"FU", "smoke"}, {"VA", "volcanic ash"},
    {"DU", "dust"}, {"SA", "sand"}, {"HZ", "haze"}, {"PY", "spray"}, {"PO", "dust whirls"}, {"SQ", "squalls"},
    {"FC", "funnel cloud"}, {"SS", "sandstorm"}, {"DS", "dust storm"}}};

template<std::size_t N>
bool isCode(const std::array<Code, N> &codes, std::string_view code)
{
    return std::any_of(codes.begin(), codes.end(), [code](const Code &c) { return c.code == code; });
}

// The words of a code of the table; "" for none.
template<std::size_t N>
const char *wordsOf(const std::array<Code, N> &codes, std::string_view code)
{
    for (const Code &c : codes) {
        if (c.code == code)
            return c.words;
    }
    return "";
}

std::string phenomenaWords(const std::vector<std::string> &phenomena)
{
    std::string words;
    for (const std::string &code : phenomena) {
        if (!words.empty())
            words += " and ";
        words += wordsOf(PHENOMENA, code);
    }
    return words;
}

// With a thunderstorm the intensity belongs to its precipitation: '-TSRA' is "thunderstorm, light rain", while a
// heavy one is heavy as a whole: '+TSRAGR' is "heavy thunderstorm with rain and hail".
std::string thunderstormText(const std::string &intensity, const std::string &what)
{
    if (what.empty())
        return intensity == "+" ? "heavy thunderstorm" : "thunderstorm";
    if (intensity == "-")
        return "thunderstorm, light " + what;
    if (intensity == "+")
        return "heavy thunderstorm with " + what;
    return "thunderstorm with " + what;
}

// '-SHRA' "light rain showers", 'FZFG' "freezing fog", '+FC' "tornado or waterspout", 'VCSH' "showers in the
// vicinity".
std::string weatherText(const WWeather &weather)
{
    if (weather.intensity.empty() && weather.descriptor.empty() && weather.phenomena.empty())
        return "no significant weather";
    const std::string what = phenomenaWords(weather.phenomena);
    if (weather.descriptor == "TS")
        return thunderstormText(weather.intensity, what) + (weather.intensity == "VC" ? " in the vicinity" : "");
    if (weather.intensity == "+" && weather.phenomena == std::vector<std::string>{"FC"})
        return "tornado or waterspout";
    std::string text = what;
    if (weather.descriptor == "SH")
        text = what.empty() ? "showers" : what + " showers";
    else if (!weather.descriptor.empty())
        text = std::string(wordsOf(DESCRIPTORS, weather.descriptor)) + (what.empty() ? "" : " " + what);
    if (weather.intensity == "-")
        return "light " + text;
    if (weather.intensity == "+")
        return "heavy " + text;
    return weather.intensity == "VC" ? text + " in the vicinity" : text;
}

// '+TSRAGR': an intensity or 'VC', at most one descriptor, then phenomena, two letters each. A group of anything
// else ('AUTO', 'RA5', '-') is none.
bool parseWeather(std::string_view group, WWeather &out)
{
    for (const char *intensity : {"-", "+", "VC"}) {
        if (startsWith(group, intensity)) {
            out.intensity = intensity;
            group.remove_prefix(out.intensity.size());
            break;
        }
    }
    if (group.size() >= 2 && isCode(DESCRIPTORS, group.substr(0, 2))) {
        out.descriptor = group.substr(0, 2);
        group.remove_prefix(2);
    }
    for (; group.size() >= 2 && isCode(PHENOMENA, group.substr(0, 2)); group.remove_prefix(2))
        out.phenomena.emplace_back(group.substr(0, 2));
    return group.empty() && (!out.descriptor.empty() || !out.phenomena.empty());
}

bool readWeather(std::string_view group, WObservation &out)
{
    WWeather weather;
    if (group != "NSW" && !parseWeather(group, weather))
        return false;
    weather.text = weatherText(weather);
    out.weather.push_back(std::move(weather));
    return true;
}

// 'BKN008CB', 'OVC035', 'VV002', 'SCT///', 'CLR'; the height in hundreds of feet.
bool readSkyLayer(std::string_view group, WObservation &out)
{
    if (group == "CLR" || group == "SKC") {
        out.sky.push_back({std::string(group), {}, {}});
        return true;
    }
    const std::size_t coverSize = startsWith(group, "VV") ? 2 : 3;
    const std::string_view cover = group.substr(0, coverSize);
    if (cover != "VV" && cover != "FEW" && cover != "SCT" && cover != "BKN" && cover != "OVC")
        return false;
    const std::string_view height = group.substr(coverSize, 3);
    const std::string_view cloud = group.substr(std::min(group.size(), coverSize + 3));
    int hundreds = 0;
    const bool measured = digits(height, hundreds) && height.size() == 3;
    if ((!measured && height != "///") || (cloud != "" && cloud != "CB" && cloud != "TCU" && cloud != "///"))
        return false;
    WSkyLayer layer{std::string(cover), {}, cloud == "///" ? std::string() : std::string(cloud)};
    if (measured)
        layer.heightFt = hundreds * 100;
    out.sky.push_back(std::move(layer));
    return true;
}

// '1/4', '10' or '16' as a number of miles.
bool milesOf(std::string_view text, float &miles)
{
    const std::size_t slash = text.find('/');
    int whole = 0;
    int below = 0;
    if (slash == std::string_view::npos) {
        if (!digits(text, whole))
            return false;
        miles = static_cast<float>(whole);
        return true;
    }
    if (!digits(text.substr(0, slash), whole) || !digits(text.substr(slash + 1), below) || below == 0)
        return false;
    miles = static_cast<float>(whole) / static_cast<float>(below);
    return true;
}

// '10SM', '3/4SM', 'M1/4SM' (less than), 'P6SM' (more than), and with a whole number before it: '1 1/2SM'.
bool readStatuteVisibility(std::string_view group, int whole, WObservation &out)
{
    if (!endsWith(group, "SM"))
        return false;
    group.remove_suffix(2);
    WBound bound = WBound::Exact;
    if (startsWith(group, "M") || startsWith(group, "P")) {
        bound = group.front() == 'M' ? WBound::Below : WBound::Above;
        group.remove_prefix(1);
    }
    float miles = 0.0f;
    if (!milesOf(group, miles))
        return false;
    if (whole > 0 && group.find('/') != std::string_view::npos)
        miles += static_cast<float>(whole);
    out.visibilityMi = miles;
    out.visibilityBound = bound;
    return true;
}

// Metres in four digits: '0800', '9999' (10 km or more), '0000' (less than 50 m); 'NDV' behind it says the
// station cannot tell directions apart.
bool readMetricVisibility(std::string_view group, WObservation &out)
{
    if (endsWith(group, "NDV"))
        group.remove_suffix(3);
    int metres = 0;
    if (group.size() != 4 || !digits(group, metres))
        return false;
    float value = static_cast<float>(metres);
    out.visibilityBound = WBound::Exact;
    if (metres == METRIC_TOP || metres == 0) {
        out.visibilityBound = metres == 0 ? WBound::Below : WBound::Above;
        value = metres == 0 ? METRIC_BOTTOM_M : METRIC_TOP_M;
    }
    out.visibilityMi = value / METRES_PER_MILE;
    return true;
}

// The groups of the body in turn. Only the first visibility counts (others are sector or runway values), and a
// metric one only before the weather and the sky, where it stands in a report.
class BodyReader
{
public:
    explicit BodyReader(WObservation &out)
        : m_out(out)
    {
    }

    void read(std::string_view group)
    {
        const int whole = m_whole;
        m_whole = 0;
        if (!m_out.visibilityMi && readVisibility(group, whole))
            return;
        if (readSkyLayer(group, m_out) || readWeather(group, m_out))
            return;
        // '1' of '1 1/2SM'.
        int number = 0;
        if (group.size() == 1 && digits(group, number))
            m_whole = number;
    }

private:
    bool readVisibility(std::string_view group, int whole)
    {
        if (readStatuteVisibility(group, whole, m_out))
            return true;
        if (group == "CAVOK") {
            m_out.visibilityMi = METRIC_TOP_M / METRES_PER_MILE;
            m_out.visibilityBound = WBound::Above;
            return true;
        }
        return m_out.weather.empty() && m_out.sky.empty() && readMetricVisibility(group, m_out);
    }

    WObservation &m_out;
    int m_whole = 0;
};

// The lowest layer that covers at least five eighths of the sky, or the vertical visibility into an obscured one.
void findCeiling(WObservation &out)
{
    for (const WSkyLayer &layer : out.sky) {
        const bool covers = layer.cover == "BKN" || layer.cover == "OVC" || layer.cover == "VV";
        if (covers && layer.heightFt && (!out.ceilingFt || *layer.heightFt < *out.ceilingFt))
            out.ceilingFt = layer.heightFt;
    }
}

// The first group of the body, behind the type and the station; false when there is none.
bool firstBodyGroup(Groups &groups, std::string_view &group)
{
    bool more = groups.next(group);
    if (more && (group == "METAR" || group == "SPECI"))
        more = groups.next(group);
    if (more && group.size() == 4)
        more = groups.next(group);
    return more;
}

bool endsBody(std::string_view group)
{
    return group == "RMK" || group == "NOSIG" || group == "TEMPO" || group == "BECMG";
}

} // namespace

WObservation readObservation(std::string_view report)
{
    WObservation out;
    BodyReader reader(out);
    Groups groups(report);
    std::string_view group;
    for (bool more = firstBodyGroup(groups, group); more && !endsBody(group); more = groups.next(group))
        reader.read(group);
    findCeiling(out);
    return out;
}

void addComfort(WObservation &observation, std::optional<float> temperatureC, std::optional<float> dewPointC,
    std::optional<float> windKnots)
{
    const auto plausible = [](std::optional<float> value, float most) { return value && std::fabs(*value) <= most; };
    if (!plausible(temperatureC, MOST_DEGREES_C))
        return;
    if (plausible(dewPointC, MOST_DEGREES_C))
        observation.humidityPct = relativeHumidity(*temperatureC, *dewPointC);
    if (observation.humidityPct)
        observation.heatIndexC = heatIndex(*temperatureC, *observation.humidityPct);
    if (plausible(windKnots, MOST_KNOTS))
        observation.windChillC = windChill(*temperatureC, *windKnots);
}

} // namespace meteo
