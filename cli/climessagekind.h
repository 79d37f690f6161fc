#pragma once

#include "corekit/lstring.h"

#include <array>
#include <string_view>

namespace meteo
{
class WLocation;
}
namespace meteo
{
class WReader;
}

namespace cli
{

// A kind of special message: its name on the command line and in JSON, its title, the setting that enables it in
// the window, and the reader's operation that fetches it.
struct CliMessageKind {
    const char *name;
    const char *title;
    const char *setting;
    int (meteo::WReader::*fetch)(const meteo::WLocation &, corekit::LString &);
};

// In the order in which the window's cycle fetches and joins them.
extern const std::array<CliMessageKind, 6> MESSAGE_KINDS;

// Null for a name that is no kind.
const CliMessageKind *findMessageKind(std::string_view name);

} // namespace cli
