#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace cli
{

// A text of the reader for a terminal: "A\r\n B\r\n" (the tickers' layout, each line after the first opened by a
// blank) becomes "A\nB\n", and control characters that a server could send to move the cursor or change the
// terminal's colours are dropped.
std::string plainText(std::string_view text);

// "Label:       value\n", the values of a block lined up in one column.
std::string fieldLine(std::string_view label, const std::string &value);

// One JSON object on one line. Texts from servers need not be UTF-8: a byte that is not becomes U+FFFD instead of
// failing the whole output.
std::string jsonLine(const nlohmann::ordered_json &object);

// The value, or null where it is absent.
template<typename T>
nlohmann::ordered_json orNull(const std::optional<T> &value)
{
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

} // namespace cli
