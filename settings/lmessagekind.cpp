#include "settings/lmessagekind.h"

#include "meteo/reader/wreader.h"

#include <algorithm>

using namespace meteo;

// Marks a title for the window's translation without making this library depend on Qt: lupdate reads it as
// QT_TRANSLATE_NOOP.
#define L_TRANSLATE_NOOP(context, text) text

namespace settings
{

namespace
{

constexpr std::array<LMessageKindInfo, MESSAGE_KIND_COUNT> KINDS = {{
    {LMessageKind::Warnings, "warnings", L_TRANSLATE_NOOP("LMessageKind", "Warnings and advisories"), "ShowWarnings",
        true, &WReader::getWarnings},
    {LMessageKind::Discussion, "discussion", L_TRANSLATE_NOOP("LMessageKind", "Forecast discussion"), "ShowDiscussion",
        false, &WReader::getDiscussion},
    {LMessageKind::Summary, "summary", L_TRANSLATE_NOOP("LMessageKind", "Weather summary"), "ShowSummary", false,
        &WReader::getSummary},
    {LMessageKind::Watches, "watches", L_TRANSLATE_NOOP("LMessageKind", "Watches"), "ShowWatches", false,
        &WReader::getWatches},
    {LMessageKind::Statements, "statements", L_TRANSLATE_NOOP("LMessageKind", "Special weather statements"),
        "ShowStatements", false, &WReader::getStatements},
    {LMessageKind::Public, "public", L_TRANSLATE_NOOP("LMessageKind", "Public information"), "ShowPublic", false,
        &WReader::getPublic},
}};

constexpr bool inKindOrder()
{
    for (int i = 0; i < MESSAGE_KIND_COUNT; ++i) {
        if (indexOf(KINDS[i].kind) != i)
            return false;
    }
    return true;
}
static_assert(inKindOrder(), "messageKind() looks a kind up by its index");

} // namespace

std::span<const LMessageKindInfo, MESSAGE_KIND_COUNT> messageKinds()
{
    return KINDS;
}

const LMessageKindInfo &messageKind(LMessageKind kind)
{
    return KINDS[indexOf(kind)];
}

const LMessageKindInfo *findMessageKind(std::string_view name)
{
    const auto found = std::find_if(KINDS.begin(), KINDS.end(), [name](const auto &kind) { return name == kind.name; });
    return found != KINDS.end() ? &*found : nullptr;
}

} // namespace settings
