#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string_view>

namespace meteo
{

// Reading the service's JSON documents, in which any member may be missing, null or of another type than
// expected. These go through the standard containers underneath rather than the library's own iterators.

// The member, or null when the value is not an object or has no such member.
inline const nlohmann::json *memberOf(const nlohmann::json &object, const char *name)
{
    if (!object.is_object())
        return nullptr;
    const auto &members = object.get_ref<const nlohmann::json::object_t &>();
    const auto found = members.find(name);
    return found == members.end() ? nullptr : &found->second;
}

// The elements of the member, or null when it is missing or not a list.
inline const nlohmann::json::array_t *listOf(const nlohmann::json &object, const char *name)
{
    const nlohmann::json *member = memberOf(object, name);
    return member && member->is_array() ? &member->get_ref<const nlohmann::json::array_t &>() : nullptr;
}

// The text of the value; empty when it is not a string.
inline std::string_view textOf(const nlohmann::json &value)
{
    return value.is_string() ? std::string_view(value.get_ref<const std::string &>()) : std::string_view();
}

// The text of the member; empty when it is missing, null or not a string.
inline std::string_view textOf(const nlohmann::json &object, const char *name)
{
    const nlohmann::json *member = memberOf(object, name);
    return member ? textOf(*member) : std::string_view();
}

// Real answers nest lists and objects 7 levels deep and hold a value for every 25 bytes or more of their text.
constexpr std::size_t MAX_JSON_DEPTH = 64;
constexpr std::size_t MAX_JSON_VALUES = 200000;

// Whether a JSON text keeps within the shape of the service's answers, judged before it is parsed: parsed, every
// value costs 16 bytes and most of them a heap block besides, so a hostile text of nothing but "[]," or "{}," or
// "[[[[" would cost some forty times its size. Values are counted by the lists, objects and commas outside strings.
inline bool withinJsonLimits(std::string_view text)
{
    std::size_t depth = 0;
    std::size_t values = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            const bool closing = c == '"' && !escaped;
            escaped = !escaped && c == '\\';
            inString = !closing;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > MAX_JSON_DEPTH || ++values > MAX_JSON_VALUES)
                return false;
        } else if (c == ']' || c == '}') {
            depth -= depth > 0 ? 1 : 0;
        } else if (c == ',' && ++values > MAX_JSON_VALUES) {
            return false;
        }
    }
    return true;
}

} // namespace meteo
