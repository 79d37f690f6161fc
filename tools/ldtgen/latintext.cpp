#include "tools/ldtgen/latintext.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace ldtgen
{

namespace
{

// Each combining mark, the letters it composes with, and the precomposed letters in the same order.
struct Composition {
    char32_t mark;
    std::string_view bases;
    std::string_view composed;
};

constexpr Composition compositions[] = {
    {0x0300, "aeiouAEIOU", "àèìòùÀÈÌÒÙ"},
    {0x0301, "aceilnorsuyzACEILNORSUYZ", "áćéíĺńóŕśúýźÁĆÉÍĹŃÓŔŚÚÝŹ"},
    {0x0302, "aceghijosuwyACEGHIJOSUWY", "âĉêĝĥîĵôŝûŵŷÂĈÊĜĤÎĴÔŜÛŴŶ"},
    {0x0303, "ainouAINOU", "ãĩñõũÃĨÑÕŨ"},
    {0x0304, "aeiouAEIOU", "āēīōūĀĒĪŌŪ"},
    {0x0306, "aegiouAEGIOU", "ăĕğĭŏŭĂĔĞĬŎŬ"},
    {0x0307, "cegzCEGIZ", "ċėġżĊĖĠİŻ"},
    {0x0308, "aeiouyAEIOUY", "äëïöüÿÄËÏÖÜŸ"},
    {0x030A, "auAU", "åůÅŮ"},
    {0x030B, "ouOU", "őűŐŰ"},
    {0x030C, "cdelnrstzCDELNRSTZ", "čďěľňřšťžČĎĚĽŇŘŠŤŽ"},
    {0x0327, "cgklnrstCGKLNRST", "çģķļņŗşţÇĢĶĻŅŖŞŢ"},
    {0x0328, "aeiuAEIU", "ąęįųĄĘĮŲ"},
};

bool isCombiningMark(char32_t c)
{
    return c >= 0x0300 && c <= 0x036F;
}

// Decodes UTF-8; false on a malformed or overlong sequence.
bool decode(std::string_view text, std::u32string &out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length == 0 || lead > 0xF4 || i + length > text.size())
            return false;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        out += c;
        i += length;
    }
    return true;
}

void encode(char32_t c, std::string &out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The precomposed letter for base and mark, or 0.
char32_t compose(char32_t base, char32_t mark)
{
    for (const Composition &entry : compositions) {
        const std::size_t at = base < 0x80 ? entry.bases.find(static_cast<char>(base)) : std::string_view::npos;
        if (entry.mark != mark || at == std::string_view::npos)
            continue;
        std::u32string letters;
        decode(entry.composed, letters);
        return letters[at];
    }
    return 0;
}

// The base letter of a precomposed letter of the table, or 0.
char32_t baseOf(char32_t letter)
{
    std::u32string letters;
    for (const Composition &entry : compositions) {
        decode(entry.composed, letters);
        const std::size_t at = letters.find(letter);
        if (at != std::u32string::npos)
            return static_cast<unsigned char>(entry.bases[at]);
    }
    return 0;
}

} // namespace

bool composeLatin(const std::string &text, std::string &composed)
{
    std::u32string in;
    if (!decode(text, in))
        return false;
    std::u32string out;
    for (const char32_t c : in) {
        if (!isCombiningMark(c)) {
            out += c;
            continue;
        }
        const char32_t joined = out.empty() ? 0 : compose(out.back(), c);
        if (joined == 0)
            return false;
        out.back() = joined;
    }
    composed.clear();
    for (const char32_t c : out)
        encode(c, composed);
    return true;
}

std::string foldLatin(const std::string &text)
{
    std::u32string in;
    if (!decode(text, in))
        return text;
    std::string folded;
    for (const char32_t c : in) {
        const char32_t base = c < 0x80 ? c : baseOf(c);
        if (base == 0)
            encode(c, folded);
        else
            folded += static_cast<char>(std::tolower(static_cast<int>(base)));
    }
    return folded;
}

std::string changeCase(std::string text, int (*change)(int))
{
    std::transform(text.begin(), text.end(), text.begin(),
        [change](char c) { return static_cast<char>(change(static_cast<unsigned char>(c))); });
    return text;
}

} // namespace ldtgen
