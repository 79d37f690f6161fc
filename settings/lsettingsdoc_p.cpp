#include "settings/lsettingsdoc_p.h"

namespace settings
{

namespace
{

constexpr std::size_t MAX_NAME = 255;
constexpr char HEX_DIGITS[] = "0123456789abcdef";

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

void LSettingsDoc::clear()
{
    m_sections.clear();
    m_index.clear();
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
        for (const Entry &entry : section.entries)
            out += line(entry.key, entry.value);
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

std::string LSettingsDoc::line(std::string_view key, const LSettingsValue &value)
{
    std::string out(key);
    out += '=';
    appendValue(out, value);
    out += '\n';
    return out;
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

} // namespace settings
