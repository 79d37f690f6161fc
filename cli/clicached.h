#pragma once

#include "cli/clierror.h"

#include <iosfwd>

namespace cli
{

class CliSession;

// "now --cached", "forecast --cached", "messages --cached", "alerts --cached": what the desktop program kept of
// the place at its last update, with its age, read from the place's cache file without any request.
// CliExit::Nothing when nothing of the kind is kept for the place, or the file cannot be used (said on standard
// error).
CliExit runCached(CliSession &session, std::ostream &out);

} // namespace cli
