#include "meteo/reader/wkeptlines_p.h"

#include <algorithm>
#include <cstddef>

namespace meteo
{

namespace
{

bool isControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7f;
}

// The characters of three bytes that are left out: the zero-width space, joiners and direction marks (U+200B to
// U+200F), the bidirectional embeddings and overrides (U+202A to U+202E) and isolates (U+2066 to U+2069). A right-to-
// left override turns the rest of a line around in a terminal or a window, so that it reads as something else.
bool isInvisibleFormat(std::string_view text)
{
    if (text.size() < 3 || text[0] != '\xE2')
        return false;
    const auto second = static_cast<unsigned char>(text[1]);
    const auto third = static_cast<unsigned char>(text[2]);
    if (second == 0x80)
        return (third >= 0x8B && third <= 0x8F) || (third >= 0xAA && third <= 0xAE);
    return second == 0x81 && third >= 0xA6 && third <= 0xA9;
}

// How many bytes at the front of the text are left out, 0 when the first byte stays: a control character (of two
// bytes for the C1 controls U+0080 to U+009F) or an invisible format character. The tab always stays, the line
// ends where asked.
std::size_t droppedLength(std::string_view text, bool keepLineEnds)
{
    const auto byte = static_cast<unsigned char>(text.front());
    if (byte == '\t' || (keepLineEnds && (byte == '\n' || byte == '\r')))
        return 0;
    if (isControl(byte))
        return 1;
    const auto next = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
    if (byte == 0xC2 && next >= 0x80 && next <= 0x9F)
        return 2;
    return isInvisibleFormat(text) ? 3 : 0;
}

// The one cleaning every text from the service goes through before it is handed out.
void appendCleaned(std::string &out, std::string_view text, bool keepLineEnds)
{
    while (!text.empty()) {
        const std::size_t dropped = droppedLength(text, keepLineEnds);
        if (dropped == 0)
            out += text.front();
        text.remove_prefix(std::max<std::size_t>(dropped, 1));
    }
}

} // namespace

void keepLine(std::string &text, std::string_view line)
{
    if (!text.empty())
        text += ' ';
    appendCleaned(text, line, false);
    text += "\r\n";
}

std::string withoutControls(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendCleaned(out, text, true);
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

} // namespace meteo
