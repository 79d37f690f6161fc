#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace meteo
{

// Texts from the web service are handed out in the layout of the page scanners: kept lines joined by one blank,
// every line ended by a carriage return and line feed ("A\r\n B\r\n C\r\n").

// Calls each(line) for every line of a text whose lines end in "\n" or "\r\n", blank lines included, with the line
// end taken off; a line end after the last line adds no empty line ("a\n\nb\n" gives "a", "" and "b").
template<typename Each>
void forEachLine(std::string_view lines, Each each)
{
    while (!lines.empty()) {
        const std::size_t feed = lines.find('\n');
        std::string_view line = lines.substr(0, feed);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        each(line);
        lines.remove_prefix(feed == std::string_view::npos ? lines.size() : feed + 1);
    }
}

// Appends one line (without its line end) to the text. Control characters other than the tab are left out, C1
// controls included: the service's JSON may carry any of them escaped ("\u0000"), and a NUL would cut the text short
// where it is copied. So are the invisible characters that change the direction of a text or hide in it (the
// bidirectional controls U+202A to U+202E and U+2066 to U+2069, U+200B to U+200F).
void keepLine(std::string &text, std::string_view line);
// Appends every line of a text, as forEachLine hands them out.
void keepLines(std::string &text, std::string_view lines);
// The text without the characters keepLine leaves out, line feeds and carriage returns kept.
std::string withoutControls(std::string_view text);
// The text with its letters a to z in capitals, whatever the locale: "Thursday Night" gives "THURSDAY NIGHT".
std::string capitals(std::string_view text);

} // namespace meteo
