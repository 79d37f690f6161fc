#include "settings/lsettingsdoc_p.h"

#include <charconv>

namespace
{

constexpr std::size_t NO_SECTION = static_cast<std::size_t>(-1);
constexpr std::size_t MAX_NAME = 255;
constexpr char HEX_DIGITS[] = "0123456789abcdef";

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The lookup form of a name: names match as the registry matched them, without regard to ASCII case.
std::string folded(std::string_view name)
{
    std::string result(name);
    for (char &c : result) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

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
    const std::string_view rest = trimmed(text.substr(type.size()));
    if (type == "int:")
        return parseInteger(rest, value);
    if (type == "str:")
        return parseString(rest, value);
    if (type == "bin:")
        return parseBinary(rest, value);
    return false;
}

void appendEscaped(std::string &out, std::string_view text)
{
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += '\\';
            out += c == '\n' ? 'n' : c == '\r' ? 'r' : 't';
        } else if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            out += "\\x";
            out += HEX_DIGITS[byte >> 4];
            out += HEX_DIGITS[byte & 0xf];
        }
    }
}

void appendValue(std::string &out, const LSettingsValue &value)
{
    switch (value.type) {
    case LSettingsValue::Type::Integer:
        out += "int:" + std::to_string(value.number);
        break;
    case LSettingsValue::Type::String:
        out += "str:\"";
        appendEscaped(out, value.bytes);
        out += '"';
        break;
    case LSettingsValue::Type::Binary:
        out += "bin:";
        for (const char c : value.bytes) {
            out += HEX_DIGITS[static_cast<unsigned char>(c) >> 4];
            out += HEX_DIGITS[static_cast<unsigned char>(c) & 0xf];
        }
        break;
    }
}

} // namespace

LSettingsValue LSettingsValue::integer(std::uint32_t number)
{
    LSettingsValue value;
    value.number = number;
    return value;
}

LSettingsValue LSettingsValue::string(std::string_view text)
{
    LSettingsValue value;
    value.type = Type::String;
    value.bytes = text;
    return value;
}

LSettingsValue LSettingsValue::binary(std::string_view bytes)
{
    LSettingsValue value;
    value.type = Type::Binary;
    value.bytes = bytes;
    return value;
}

std::size_t LSettingsValue::dataSize() const
{
    switch (type) {
    case Type::Integer:
        return sizeof number;
    case Type::String:
        return bytes.size() + 1;
    case Type::Binary:
        break;
    }
    return bytes.size();
}

bool LSettingsDoc::parse(std::string_view text, std::string &error)
{
    m_sections.clear();
    m_index.clear();
    error.clear();
    std::size_t section = NO_SECTION;
    std::size_t number = 1;
    std::size_t dropped = 0;
    for (std::size_t start = 0; start < text.size(); ++number) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? text.size() : newline;
        if (const char *reason = parseLine(text.substr(start, end - start), section))
            noteDropped(error, ++dropped, number, reason);
        start = end + 1;
    }
    if (dropped > MAX_LISTED)
        error += "; " + std::to_string(dropped - MAX_LISTED) + " more";
    return dropped == 0;
}

void LSettingsDoc::merge(const LSettingsDoc &other)
{
    for (const Section &section : other.m_sections) {
        for (const Entry &entry : section.entries)
            set(section.name, entry.key, entry.value);
    }
}

std::string LSettingsDoc::text() const
{
    std::string out = "# Settings, one [Section] per group, one Key=type:value per line. Types:\n"
                      "# int:4294967295  str:\"text\" (escapes \\\\ \\\" \\t \\n \\r \\xHH)  bin:hex bytes\n";
    for (const Section &section : m_sections) {
        out += "\n[" + section.name + "]\n";
        for (const Entry &entry : section.entries) {
            out += entry.key + '=';
            appendValue(out, entry.value);
            out += '\n';
        }
    }
    return out;
}

const LSettingsValue *LSettingsDoc::find(std::string_view section, std::string_view key) const
{
    const auto found = m_index.find(folded(section));
    if (found == m_index.end())
        return nullptr;
    const Section &entries = m_sections[found->second];
    const auto entry = entries.index.find(folded(key));
    return entry == entries.index.end() ? nullptr : &entries.entries[entry->second].value;
}

void LSettingsDoc::set(std::string_view section, std::string_view key, const LSettingsValue &value)
{
    Section &target = m_sections[sectionIndex(section)];
    const auto [entry, added] = target.index.emplace(folded(key), target.entries.size());
    if (added)
        target.entries.push_back({std::string(key), value});
    else
        target.entries[entry->second].value = value;
}

bool LSettingsDoc::validName(std::string_view name)
{
    if (name.empty() || name.size() > MAX_NAME || name.front() == ' ' || name.back() == ' ')
        return false;
    if (name.front() == '#' || name.front() == ';')
        return false;
    for (const char c : name) {
        if (c < 0x20 || c > 0x7e || c == '[' || c == ']' || c == '=')
            return false;
    }
    return true;
}

std::size_t LSettingsDoc::sectionIndex(std::string_view name)
{
    const auto [found, added] = m_index.emplace(folded(name), m_sections.size());
    if (added)
        m_sections.push_back({std::string(name), {}, {}});
    return found->second;
}

// "line 3: expected Key=type:value; line 7: invalid key name": the first few dropped lines only, since a file that is
// not a settings file at all may have thousands.
void LSettingsDoc::noteDropped(std::string &error, std::size_t dropped, std::size_t number, const char *reason)
{
    if (dropped > MAX_LISTED)
        return;
    if (!error.empty())
        error += "; ";
    error += "line " + std::to_string(number) + ": " + reason;
}

// Returns why the line is not part of a settings file, or null when it is.
const char *LSettingsDoc::parseLine(std::string_view line, std::size_t &section)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    line = trimmed(line);
    if (line.empty() || line.front() == '#' || line.front() == ';')
        return nullptr;
    if (line.front() == '[')
        return parseHeader(line, section);
    return parseEntry(line, section);
}

// "[General]"
const char *LSettingsDoc::parseHeader(std::string_view line, std::size_t &section)
{
    // The settings under a damaged header would land in the section above it: they are dropped with it.
    section = NO_SECTION;
    if (line.back() != ']')
        return "section header without ']'";
    const std::string_view name = trimmed(line.substr(1, line.size() - 2));
    if (!validName(name))
        return "invalid section name";
    section = sectionIndex(name);
    return nullptr;
}

// "UpdateTimeout=int:15"
const char *LSettingsDoc::parseEntry(std::string_view line, std::size_t section)
{
    if (section == NO_SECTION)
        return "setting outside a section";
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return "expected Key=type:value";
    const std::string_view key = trimmed(line.substr(0, equals));
    if (!validName(key))
        return "invalid key name";
    LSettingsValue value;
    if (!parseValue(trimmed(line.substr(equals + 1)), value))
        return "invalid value (expected int:, str:\"...\" or bin:)";
    set(m_sections[section].name, key, value);
    return nullptr;
}
