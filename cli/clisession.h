#pragma once

#include "cli/clikeeper.h"
#include "cli/clioptions.h"
#include "cli/cliplaces.h"
#include "cli/cliunits.h"
#include "meteo/base/wlocation.h"
#include "meteo/location/wnearbystations.h"
#include "meteo/reader/wreader.h"

#include <memory>
#include <string>
#include <vector>

namespace cli
{

// What the commands share: the settings (read, never written, with the command line's overrides), the location
// files and the reader. Each part is opened when a command first needs it, so that "decode --json" reads
// neither the settings nor the location files.
class CliSession
{
public:
    explicit CliSession(const CliOptions &options);

    const CliOptions &options() const { return m_options; }
    // Throws CliError (CliExit::Damaged) when the settings file cannot be read; damaged lines are only reported.
    corekit::LKeeper &keeper();
    CliUnits units();
    // Throws CliError (CliExit::Damaged) when the location files are missing or damaged.
    const CliPlaces &places();
    // The place the command's argument names, or the desktop program's place without one; throws CliError
    // (CliExit::Usage) when there is none or it is not one place.
    CliPlace place();
    // The places saved in the desktop program, in its order; damaged entries and places the location files no
    // longer hold are left out, each said on standard error.
    std::vector<CliPlace> savedPlaces();
    meteo::WLocation location(const CliPlace &place);
    meteo::WReader &reader();
    // The stations of the location files, by their distance from a place; none when the settings turn the nearby
    // station off or the files cannot be read.
    const meteo::WNearbyStations &nearbyStations();

private:
    void checkSettingsFile();
    void applyOverrides();
    CliPlace savedPlace(const std::string &number);

    CliOptions m_options;
    CliKeeper m_keeper;
    bool m_keeperChecked = false;
    std::unique_ptr<CliPlaces> m_places;
    std::string m_dataDirectory;
    std::unique_ptr<meteo::WReader> m_reader;
    std::unique_ptr<meteo::WNearbyStations> m_nearbyStations;
};

} // namespace cli
