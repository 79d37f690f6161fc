#include "meteo/reader/wkeptlines_p.h"

#include <cstddef>

void keepLine(std::string &text, std::string_view line)
{
    if (!text.empty())
        text += ' ';
    text.append(line);
    text += "\r\n";
}

void keepLines(std::string &text, std::string_view lines)
{
    while (!lines.empty()) {
        const std::size_t feed = lines.find('\n');
        std::string_view line = lines.substr(0, feed);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        keepLine(text, line);
        lines.remove_prefix(feed == std::string_view::npos ? lines.size() : feed + 1);
    }
}

std::string capitals(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}
