#include "meteo/base/wplacefold.h"

#include <algorithm>
#include <utility>

namespace meteo
{

namespace
{

// The base letter of each character from U+00C0 to U+017F ("À" to "ſ"), in lower case; a space for the two signs
// among them (× and ÷).
constexpr std::string_view LATIN_BASES = "aaaaaaaceeeeiiiidnooooo ouuuuytsaaaaaaaceeeeiiiidnooooo ouuuuyty"
                                         "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiiiiijjkkklllllll"
                                         "lllnnnnnnnnnoooooooorrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";
constexpr char32_t FIRST_LATIN = 0xC0;

// Words that names write both in full and short ("St. Louis", "Saint Paul", "Fort Myers", "Mount Vernon"); folded
// text uses the short form, so that either finds both.
constexpr std::pair<std::string_view, std::string_view> SHORT_WORDS[] = {
    {"saint", "st"},
    {"sainte", "ste"},
    {"fort", "ft"},
    {"mount", "mt"},
};

// Decodes the UTF-8 character at text[at], moving at past it; a byte that starts no well-formed character gives
// U+FFFD and moves on by one.
char32_t nextCharacter(std::string_view text, std::size_t &at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) {
        ++at;
        return 0xFFFD;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    at += length;
    return c;
}

// The folded form of one character: a lower-case letter or digit, ' ' for a separator, or '\0' for a character
// that is kept as written.
char foldedCharacter(char32_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return static_cast<char>(c);
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    if (c >= FIRST_LATIN && c < FIRST_LATIN + LATIN_BASES.size())
        return LATIN_BASES[c - FIRST_LATIN];
    if (c < 0x250 || c == 0xFFFD)
        return ' ';
    return '\0';
}

// Each word of folded text in its short form, where it has one.
std::string shortenWords(const std::string &folded)
{
    std::string shortened;
    shortened.reserve(folded.size());
    for (std::size_t start = 0; start < folded.size();) {
        const std::size_t end = std::min(folded.find(' ', start), folded.size());
        std::string_view word(folded.data() + start, end - start);
        for (const auto &[full, brief] : SHORT_WORDS)
            word = word == full ? brief : word;
        shortened.append(word);
        if (end < folded.size())
            shortened += ' ';
        start = end + 1;
    }
    return shortened;
}

} // namespace

std::string foldPlaceText(std::string_view text)
{
    return shortenWords(foldPlaceLetters(text));
}

std::string foldPlaceLetters(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const char c = foldedCharacter(nextCharacter(text, at));
        if (c == ' ') {
            if (!folded.empty() && folded.back() != ' ')
                folded += ' ';
        } else {
            folded.append(c ? std::string_view(&c, 1) : text.substr(start, at - start));
        }
    }
    if (!folded.empty() && folded.back() == ' ')
        folded.pop_back();
    return folded;
}

} // namespace meteo
