#include "meteo/reader/wproduct_p.h"

#include "corekit/ltrimmed.h"

#include <cstddef>
#include <string>
#include <string_view>

using namespace corekit;

namespace meteo
{

namespace
{

std::string_view viewOf(const LString &text)
{
    return std::string_view(static_cast<const char *>(text));
}

// Text outside tags, without its line feeds when they are dropped.
void appendText(std::string_view text, bool dropLineFeeds, std::string &out)
{
    if (!dropLineFeeds) {
        out.append(text);
        return;
    }
    for (std::size_t feed; (feed = text.find('\n')) != std::string_view::npos; text.remove_prefix(feed + 1))
        out.append(text.substr(0, feed));
    out.append(text);
}

void trimBlanks(std::string &text)
{
    text = std::string(trimmed(text));
}

// The line as the header tests see it: tags and line feeds gone, trimmed. The scratch buffer is kept per
// thread, since these tests run on every line of a page; the view lasts until the next call.
std::string_view headerForm(const LString &line)
{
    thread_local std::string scratch;
    stripHTMLTags(viewOf(line), true, scratch);
    return scratch;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal number at the start of the text ('014' is 14, '12>' is 12); false when it does not begin with a
// digit or the number is too long to be a zone.
bool leadingNumber(std::string_view text, long &value)
{
    std::size_t count = 0;
    long result = 0;
    for (; count < text.size() && isDigit(text[count]); ++count) {
        if (count == 9)
            return false;
        result = result * 10 + (text[count] - '0');
    }
    if (count == 0)
        return false;
    value = result;
    return true;
}

// One item of a zone list: '014' or the inclusive range '013>016'.
bool itemCovers(std::string_view item, long number)
{
    const std::size_t range = item.find('>');
    long low = 0;
    if (!leadingNumber(item.substr(0, range), low))
        return false;
    if (range == std::string_view::npos)
        return low == number;
    long high = 0;
    return leadingNumber(item.substr(range + 1), high) && low <= number && number <= high;
}

// The zone list after the first occurrence of the prefix, up to the first character that cannot be part of it.
std::string_view zoneList(std::string_view line, std::string_view prefix)
{
    const std::size_t at = line.find(prefix);
    if (at == std::string_view::npos)
        return {};
    const std::string_view list = line.substr(at + prefix.size());
    return list.substr(0, list.find_first_not_of("0123456789->"));
}

} // namespace

// A tag runs from "<" to the next ">" (a "<" inside it changes nothing); a ">" outside a tag is text.
void stripHTMLTags(std::string_view text, bool dropLineFeeds, std::string &out)
{
    out.clear();
    while (!text.empty()) {
        const std::size_t open = text.find('<');
        appendText(text.substr(0, open), dropLineFeeds, out);
        const std::size_t close = open == std::string_view::npos ? open : text.find('>', open + 1);
        if (close == std::string_view::npos)
            break;
        out += ' ';
        text.remove_prefix(close + 1);
    }
    trimBlanks(out);
}

void stripHTMLTags(LString &text, bool dropLineFeeds)
{
    std::string result;
    stripHTMLTags(viewOf(text), dropLineFeeds, result);
    text.assign(result.data(), result.size());
}

bool isZoneHeader(const LString &line)
{
    const std::string_view form = headerForm(line);
    return form.size() >= 3 && form[2] == 'Z' && form.back() == '-';
}

bool inZone(const LString &zone, const LString &line)
{
    const std::string_view code = viewOf(zone);
    long number = 0;
    if (code.size() < 3 || !leadingNumber(code.substr(code.size() - 3), number))
        return false;
    // The last 8 characters are the expiry group, its "-" and the line feed: 'ILZ014-101500-'.
    std::string_view head = viewOf(line);
    if (head.size() >= 8)
        head.remove_suffix(8);
    std::string_view list = zoneList(head, code.substr(0, 3));
    while (!list.empty()) {
        const std::size_t dash = list.find('-');
        if (itemCovers(list.substr(0, dash), number))
            return true;
        list = dash == std::string_view::npos ? std::string_view() : list.substr(dash + 1);
    }
    return false;
}

bool isZoneContinuation(const LString &line)
{
    const std::string_view form = headerForm(line);
    if (form.empty() || form.back() != '-')
        return false;
    for (const char c : form) {
        if (!isDigit(c) && !(c >= 'A' && c <= 'Z') && c != '>' && c != '-')
            return false;
    }
    return true;
}

bool endsWithExpiryGroup(const LString &line)
{
    const std::string_view form = headerForm(line);
    if (form.size() < 8 || form.back() != '-' || form[form.size() - 8] != '-')
        return false;
    for (std::size_t i = form.size() - 7; i < form.size() - 1; ++i) {
        if (!isDigit(form[i]))
            return false;
    }
    return true;
}

bool isCityHeader(const LString &line, const LString &prefix)
{
    return line.contains(prefix);
}

bool isCityHeader(const LString &line, const LString &prefix, const LString &code)
{
    return line.contains(prefix) && line.contains(code);
}

} // namespace meteo
