#include "settings/lsettingsparser_p.h"

#include "corekit/ltrimmed.h"
#include "settings/lsettings.h"

#include <algorithm>
#include <charconv>

using namespace corekit;

namespace settings
{

namespace
{

// What may stand around names, types and values: "Key = int: 5".
constexpr std::string_view BLANKS = " \t";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "4294967295": decimal digits only, no sign, at most 32 bits.
bool parseInteger(std::string_view text, LSettingsValue &value)
{
    std::uint32_t number = 0;
    const char *end = text.data() + text.size();
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    const std::from_chars_result result = std::from_chars(text.data(), end, number);
    if (result.ec != std::errc() || result.ptr != end)
        return false;
    value = LSettingsValue::integer(number);
    return true;
}

// "f3ff00": two hex digits per byte.
bool parseBinary(std::string_view text, LSettingsValue &value)
{
    if (text.size() % 2 != 0)
        return false;
    std::string bytes(text.size() / 2, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = hexValue(text[2 * i]);
        const int low = hexValue(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[i] = static_cast<char>(high * 16 + low);
    }
    value = LSettingsValue::binary(bytes);
    return true;
}

// Decodes the escape at text[at] (just after its backslash) and advances at past it; false for a bad escape.
bool unescape(std::string_view text, std::size_t &at, std::string &out)
{
    if (at >= text.size())
        return false;
    const char c = text[at++];
    switch (c) {
    case '\\':
    case '"':
        out += c;
        return true;
    case 'n':
        out += '\n';
        return true;
    case 'r':
        out += '\r';
        return true;
    case 't':
        out += '\t';
        return true;
    case 'x':
        break;
    default:
        return false;
    }
    const int high = at + 1 < text.size() ? hexValue(text[at]) : -1;
    const int low = high >= 0 ? hexValue(text[at + 1]) : -1;
    if (low < 0 || high * 16 + low == 0)
        return false;
    out += static_cast<char>(high * 16 + low);
    at += 2;
    return true;
}

// "\"text with \\\"escapes\\\"\"": the closing quote must end the value.
bool parseString(std::string_view text, LSettingsValue &value)
{
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return false;
    std::string out;
    for (std::size_t at = 1; at + 1 < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[at++]);
        if (c == '"' || (c < 0x20 && c != '\t') || c == 0x7f)
            return false;
        if (c != '\\')
            out += static_cast<char>(c);
        else if (!unescape(text.substr(0, text.size() - 1), at, out))
            return false;
    }
    value = LSettingsValue::string(out);
    return true;
}

bool parseValue(std::string_view text, LSettingsValue &value)
{
    const std::string_view type = text.substr(0, 4);
    const std::string_view rest = trimmed(text.substr(type.size()), BLANKS);
    if (type == "int:")
        return parseInteger(rest, value);
    if (type == "str:")
        return parseString(rest, value);
    if (type == "bin:")
        return parseBinary(rest, value);
    return false;
}

} // namespace

LSettingsParser::LSettingsParser(LSettingsDoc &doc)
    : m_doc(doc)
{
    m_doc.clear();
}

void LSettingsParser::line(std::string_view text)
{
    ++m_number;
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    text = trimmed(text, BLANKS);
    if (text.empty() || text.front() == '#' || text.front() == ';')
        return;
    const char *reason = text.front() == '[' ? parseHeader(text) : parseEntry(text);
    if (reason)
        note("line " + std::to_string(m_number) + ": " + reason);
}

void LSettingsParser::skip(const std::string &reason)
{
    ++m_number;
    note("line " + std::to_string(m_number) + ": " + reason);
}

void LSettingsParser::skipRest(const std::string &reason)
{
    note("line " + std::to_string(m_number + 1) + " onwards: " + reason);
}

std::string LSettingsParser::damage() const
{
    if (m_noted <= MAX_LISTED)
        return m_damage;
    return m_damage + "; " + std::to_string(m_noted - MAX_LISTED) + " more";
}

// "line 3: expected Key=type:value; line 7: invalid key name": the first few lines only, since a file that is not a
// settings file at all may have thousands.
void LSettingsParser::note(const std::string &reason)
{
    if (++m_noted > MAX_LISTED)
        return;
    if (!m_damage.empty())
        m_damage += "; ";
    m_damage += reason;
}

// "[General]"
const char *LSettingsParser::parseHeader(std::string_view line)
{
    // The settings under a damaged header would land in the section above it: they are dropped with it.
    m_section.clear();
    if (line.back() != ']')
        return "section header without ']'";
    const std::string_view name = trimmed(line.substr(1, line.size() - 2), BLANKS);
    if (!LSettingsDoc::validName(name))
        return "invalid section name";
    m_section = name;
    return nullptr;
}

// "UpdateTimeout=int:15"
const char *LSettingsParser::parseEntry(std::string_view line)
{
    if (m_section.empty())
        return "setting outside a section";
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return "expected Key=type:value";
    const std::string_view key = trimmed(line.substr(0, equals), BLANKS);
    if (!LSettingsDoc::validName(key))
        return "invalid key name";
    LSettingsValue value;
    if (!parseValue(trimmed(line.substr(equals + 1), BLANKS), value))
        return "invalid value (expected int:, str:\"...\" or bin:)";
    const std::string held = heldToRange(key, value);
    m_doc.set(m_section, key, value);
    if (!held.empty())
        note("line " + std::to_string(m_number) + ": " + held);
    return nullptr;
}

// A number the program would not accept from its options (an update interval of 4294967295 minutes) is held to the
// nearest one it accepts. Returns what was done ("UpdateTimeout 4294967295 is outside 0 to 180, so 180 is used"), or
// nothing for a value in range.
std::string LSettingsParser::heldToRange(std::string_view key, LSettingsValue &value) const
{
    const LSettings::Range *range = LSettings::RangeOf(m_section, key);
    if (!range || value.type != LSettingsValue::Type::Integer)
        return std::string();
    const std::uint32_t held = std::clamp(value.number, range->min, range->max);
    if (held == value.number)
        return std::string();
    std::string what = std::string(key) + ' ' + std::to_string(value.number) + " is outside "
        + std::to_string(range->min) + " to " + std::to_string(range->max) + ", so " + std::to_string(held)
        + " is used";
    value.number = held;
    return what;
}

} // namespace settings
