#include "meteo/reader/wutf8_p.h"

#include <cstddef>

namespace meteo
{

namespace
{

constexpr std::string_view REPLACEMENT = "\xEF\xBF\xBD";

unsigned char byteAt(std::string_view text, std::size_t at)
{
    return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

bool isContinuation(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0xBF;
}

// The length of the well-formed sequence at the start of the text, 0 when there is none. The second byte's range
// depends on the first, which rules out overlong forms, surrogates and code points above U+10FFFF.
std::size_t sequenceLength(std::string_view text)
{
    const unsigned char lead = byteAt(text, 0);
    const unsigned char second = byteAt(text, 1);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    bool secondFits = false;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        secondFits = isContinuation(second);
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        secondFits = lead == 0xE0 ? second >= 0xA0 && second <= 0xBF
                                  : (lead == 0xED ? second >= 0x80 && second <= 0x9F : isContinuation(second));
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        secondFits = lead == 0xF0 ? second >= 0x90 && second <= 0xBF
                                  : (lead == 0xF4 ? second >= 0x80 && second <= 0x8F : isContinuation(second));
    }
    if (!secondFits)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!isContinuation(byteAt(text, i)))
            return 0;
    return length;
}

void appendStray(std::string &out, unsigned char byte)
{
    if (byte < 0xA0) {
        out += REPLACEMENT;
        return;
    }
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
}

} // namespace

std::string mendedUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        if (length == 0) {
            appendStray(out, static_cast<unsigned char>(text.front()));
            text.remove_prefix(1);
        } else {
            out.append(text.substr(0, length));
            text.remove_prefix(length);
        }
    }
    return out;
}

} // namespace meteo
