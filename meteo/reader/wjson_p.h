#pragma once

#include <nlohmann/json.hpp>

#include <string_view>

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
