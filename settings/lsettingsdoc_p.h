#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace settings
{

// One stored setting with its type.
struct LSettingsValue {
    enum class Type { Integer, String, Binary };

    Type type = Type::Integer;
    std::uint32_t number = 0;
    // The text of a string (never holding a NUL) or the bytes of a binary value.
    std::string bytes;

    static LSettingsValue integer(std::uint32_t number);
    static LSettingsValue string(std::string_view text);
    static LSettingsValue binary(std::string_view bytes);

    // The size of the value's data: 4 for an integer, a string's length plus its terminator, a binary's byte count.
    std::size_t dataSize() const;
};

// The settings of one file in memory, in the order they were first written, and their text form:
//
//     [General]
//     UpdateTimeout=int:15
//     ProxyLocation=str:"proxy.example.com:8080"
//     Font=bin:f3ffffff000000000000...
//
// Strings are quoted with the escapes \\ \" \t \n \r and \xHH; everything else that is not printable ASCII is
// written as \xHH, so any bytes survive. Section and key names match without regard to ASCII case. LSettingsParser
// reads the text back.
class LSettingsDoc
{
public:
    void clear();
    // Sets every value of the other settings here.
    void merge(const LSettingsDoc &other);
    // The file text of the settings, headed by comment lines naming the format.
    std::string text() const;

    const LSettingsValue *find(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, const LSettingsValue &value);
    // "UpdateTimeout=int:15\n": the line of the file text that holds a value.
    static std::string line(std::string_view key, const LSettingsValue &value);

    // Names are 1 to 255 printable ASCII characters without '[', ']' and '=', with no blank at either end and no
    // comment mark ('#', ';') in front.
    static bool validName(std::string_view name);

private:
    struct Entry {
        std::string key;
        LSettingsValue value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> index;
    };

    std::size_t sectionIndex(std::string_view name);

    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_index;
};

} // namespace settings
