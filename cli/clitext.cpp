#include "cli/clitext.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace cli
{

std::string plainText(std::string_view text)
{
    std::string plain;
    plain.reserve(text.size());
    bool lineStart = true;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            plain += '\n';
            lineStart = true;
        } else if ((byte >= 0x20 && byte != 0x7f) || c == '\t') {
            const bool tickerBlank = lineStart && c == ' ' && !plain.empty();
            lineStart = false;
            if (!tickerBlank)
                plain += c;
        }
    }
    return plain;
}

std::string fieldLine(std::string_view label, const std::string &value)
{
    constexpr std::size_t VALUE_COLUMN = 14;
    return std::string(label) + std::string(VALUE_COLUMN - std::min(label.size(), VALUE_COLUMN - 1), ' ') + value
        + '\n';
}

std::string jsonLine(const nlohmann::ordered_json &object)
{
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + '\n';
}

} // namespace cli
