#include "meteo/reader/wkeptlines_p.h"

#include <algorithm>
#include <iterator>

namespace
{

bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

} // namespace

void keepLine(std::string &text, std::string_view line)
{
    if (!text.empty())
        text += ' ';
    std::copy_if(line.begin(), line.end(), std::back_inserter(text), [](char c) { return c == '\t' || !isControl(c); });
    text += "\r\n";
}

std::string withoutControls(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(out),
        [](char c) { return c == '\t' || c == '\n' || c == '\r' || !isControl(c); });
    return out;
}

void keepLines(std::string &text, std::string_view lines)
{
    forEachLine(lines, [&text](std::string_view line) { keepLine(text, line); });
}

std::string capitals(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}
