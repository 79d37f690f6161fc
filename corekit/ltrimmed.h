#pragma once

#include "corekit/corekit_export.h"

#include <string_view>

namespace corekit
{

// The text without the given characters at either end: trimmed("  ...FROST ADVISORY...  ", " .") gives
// "FROST ADVISORY"; empty when nothing else is left. The view looks into the text it was given.
COREKIT_EXPORT std::string_view trimmed(std::string_view text, std::string_view blanks = " ");

} // namespace corekit
