#pragma once

#include "corekit/lstring.h"

#include <array>
#include <span>
#include <string_view>

namespace meteo
{
class WLocation;
class WReader;
} // namespace meteo

namespace settings
{

// The kinds of special message, in the order in which an update fetches them and the window joins them:
// warnings first, public information last.
enum class LMessageKind { Warnings, Discussion, Summary, Watches, Statements, Public };

inline constexpr int MESSAGE_KIND_COUNT = 6;

// A kind's place in that order, which also indexes the worker's results and its WM_MESSAGE_READY events.
constexpr int indexOf(LMessageKind kind)
{
    return static_cast<int>(kind);
}

// Everything the programs need to know of one kind of special message.
struct LMessageKindInfo {
    LMessageKind kind;
    // As the command line and its JSON spell it: "warnings".
    const char *name;
    // As the window shows it, marked for translation in the context "LMessageKind": "Warnings and advisories".
    const char *title;
    // The key in section LSettings::SPECIAL that enables it (non-zero: fetch).
    const char *key;
    // Fetched until the user chooses otherwise.
    bool enabledByDefault;
    // The reader's operation that fetches it.
    int (meteo::WReader::*fetch)(const meteo::WLocation &, corekit::LString &);
};

// Every kind, in the order of LMessageKind.
std::span<const LMessageKindInfo, MESSAGE_KIND_COUNT> messageKinds();
const LMessageKindInfo &messageKind(LMessageKind kind);
// Null for a name that is no kind.
const LMessageKindInfo *findMessageKind(std::string_view name);

// The order of the kinds' keys in a new settings file and on the Retrieval page, which predates the order of
// fetching.
inline constexpr std::array<LMessageKind, MESSAGE_KIND_COUNT> SETTINGS_ORDER
    = {LMessageKind::Discussion, LMessageKind::Summary, LMessageKind::Public, LMessageKind::Watches,
        LMessageKind::Statements, LMessageKind::Warnings};

} // namespace settings
