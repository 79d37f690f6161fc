#pragma once

#include "corekit/lstring.h"

#include <string>
#include <string_view>

namespace meteo
{

// Line tests for the National Weather Service's text-product pages.

// Removes HTML tags from one page line, in place: each tag becomes one blank, a line feed is dropped when
// dropLineFeeds is set, and the result is trimmed of blanks at both ends. 'a<b>c</b>d' gives 'a c d'; '5 > 3'
// keeps its '>'. A tag that is not closed on the line swallows the rest of it: 'x<y' gives 'x'.
void stripHTMLTags(corekit::LString &text, bool dropLineFeeds);
// The same into a scratch string, whose buffer a caller stripping many lines reuses.
void stripHTMLTags(std::string_view text, bool dropLineFeeds, std::string &out);

// A zone header names the zones a message is for: 'ILZ014>016-020-101500-' (state and "Z", zone numbers and
// ranges, the six-digit expiry group "101500", a closing "-"). A line is taken for one when, tags and line feed
// stripped, its third character is "Z" and its last one "-".
bool isZoneHeader(const corekit::LString &line);

// Whether the header line (with its line feed) covers the zone 'ILZ014': its list after the first "ILZ" names 14,
// alone or in a range such as '013>016'. The list ends at the first character that is not a digit, "-" or ">"
// ('ILZ010-INZ014-101500-' does not cover ILZ014).
bool inZone(const corekit::LString &zone, const corekit::LString &line);

// A long zone list continues on the following lines: 'IAZ004>006-015-016-023>025-033>039-044>050-057>062-070>075-'
// then '081>086-092>097-140400-'. A continuation line holds only digits, capitals, ">" and "-" and ends with "-";
// the header is complete with the line that ends in the expiry group ('140400-').
bool isZoneContinuation(const corekit::LString &line);
bool endsWithExpiryGroup(const corekit::LString &line);

// Product headers of discussions and summaries: 'FXUS63 KDMX 051744' holds the prefix "FXUS" and the code "KDMX".
bool isCityHeader(const corekit::LString &line, const corekit::LString &prefix);
bool isCityHeader(const corekit::LString &line, const corekit::LString &prefix, const corekit::LString &code);

} // namespace meteo
