#include "nimbdesk/window/datadir.h"

#include "corekit/lvector.h"
#include "meteo/location/wlocationdb.h"
#include "meteo/location/wrecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

// The location files list the places of this country.
constexpr std::uint32_t UNITED_STATES = 1;

} // namespace

QStringList dataDirectoryCandidates(const QString &commandLineDirectory, const QString &applicationDirectory)
{
    if (!commandLineDirectory.isEmpty())
        return {commandLineDirectory};
    return {QDir::cleanPath(applicationDirectory + QLatin1Char('/') + QStringLiteral(NIMBREL_DATA_FROM_BINDIR)),
        QStringLiteral(NIMBREL_INSTALL_DATA_DIR), QStringLiteral(NIMBREL_SOURCE_DATA_DIR)};
}

bool holdsLocationFiles(const QString &directory)
{
    const QDir folder(directory);
    for (const char *name : {"countries.ldt", "states.ldt", "areas.ldt", "cities.ldt"}) {
        if (!QFileInfo(folder.filePath(QLatin1String(name))).isFile())
            return false;
    }
    return true;
}

QString findDataDirectory(const QStringList &candidates)
{
    for (const QString &candidate : candidates) {
        if (holdsLocationFiles(candidate))
            return candidate;
    }
    return {};
}

// The lists read the whole of their file, so damage anywhere in it shows; the cities file is read once, for the first
// state, as the location dialog reads it.
QString damagedLocationFile(const QString &directory)
{
    const WLocationDB database(LString(QFile::encodeName(directory).constData()));
    LVector<WState> states;
    if (database.getStateList(UNITED_STATES, states) != 0 || states.size() == 0)
        return QStringLiteral("states.ldt");
    LVector<WCity> cities;
    if (database.getCityList(UNITED_STATES, states[0].getId(), cities) != 0 || cities.size() == 0)
        return QStringLiteral("cities.ldt");
    return {};
}
