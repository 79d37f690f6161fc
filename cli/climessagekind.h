#pragma once

#include "corekit/lstring.h"

#include <array>
#include <string_view>

class WLocation;
class WReader;

// A kind of special message: its name on the command line and in JSON, its title, the setting that enables it in
// the window, and the reader's operation that fetches it.
struct CliMessageKind {
    const char *name;
    const char *title;
    const char *setting;
    int (WReader::*fetch)(const WLocation &, LString &);
};

// In the order in which the window's cycle fetches and joins them.
extern const std::array<CliMessageKind, 6> MESSAGE_KINDS;

// Null for a name that is no kind.
const CliMessageKind *findMessageKind(std::string_view name);
