#pragma once

#include <string>
#include <string_view>

namespace meteo
{

// Answers of the web service are meant to be UTF-8, and the JSON parser refuses the whole answer for one byte that
// is not. Some products are written in Latin-1 ("72\xB0F"), and a damaged message may carry any byte.

// The text with every byte that does not begin a well-formed UTF-8 sequence (a lone continuation byte, the first byte
// of a cut or overlong sequence or of a surrogate) read as Latin-1: B0 becomes the degree sign. Bytes 80 to 9F,
// control characters in Latin-1, become U+FFFD instead. Well-formed text comes back unchanged.
std::string mendedUtf8(std::string_view text);

} // namespace meteo
