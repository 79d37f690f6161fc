#pragma once

#include "cli/clierror.h"

#include <iosfwd>

namespace cli
{

class CliSession;

// "alerts --follow": watches the place's alerts until SIGINT or SIGTERM, printing one line for each alert as it
// comes into force, is updated or ends (with --json one object per line). Checks come every --interval seconds,
// or as often as the desktop program checks; a check that fails is said on standard error and tried again sooner.
// Ends with CliExit::Ok when stopped; throws CliError for an unknown place or damaged files, as the other commands.
CliExit runFollow(CliSession &session, std::ostream &out);

} // namespace cli
