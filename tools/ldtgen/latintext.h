#pragma once

#include <string>

namespace ldtgen
{

// Joins a Latin letter and the combining mark after it into the one precomposed character that Unicode's
// composed form (NFC) uses: "Utqiag" followed by U+0307 becomes "Utqiaġ". False when the text is not UTF-8 or
// holds a combining mark (U+0300 to U+036F) that no letter before it takes, so that nothing leaves here
// half-composed.
bool composeLatin(const std::string &text, std::string &composed);

// The text reduced to lower-case base letters, for ordering names as a reader does: "Cataño" gives "catano".
// Characters the composition table does not know stay as they are.
std::string foldLatin(const std::string &text);

// The text with each ASCII letter passed through change (std::tolower, std::toupper): codes such as "KORD"/"kord".
std::string changeCase(std::string text, int (*change)(int));

} // namespace ldtgen
