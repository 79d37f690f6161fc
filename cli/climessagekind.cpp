#include "cli/climessagekind.h"

#include "meteo/reader/wreader.h"
#include "settings/lsettings.h"

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace cli
{

const std::array<CliMessageKind, 6> MESSAGE_KINDS = {{
    {"warnings", "Warnings", LSettings::SHOW_WARNINGS, &WReader::getWarnings},
    {"discussion", "Forecast discussion", LSettings::SHOW_DISCUSSION, &WReader::getDiscussion},
    {"summary", "Weather summary", LSettings::SHOW_SUMMARY, &WReader::getSummary},
    {"watches", "Watches", LSettings::SHOW_WATCHES, &WReader::getWatches},
    {"statements", "Special weather statements", LSettings::SHOW_STATEMENTS, &WReader::getStatements},
    {"public", "Public information", LSettings::SHOW_PUBLIC, &WReader::getPublic},
}};

const CliMessageKind *findMessageKind(std::string_view name)
{
    for (const CliMessageKind &kind : MESSAGE_KINDS) {
        if (name == kind.name)
            return &kind;
    }
    return nullptr;
}

} // namespace cli
