#include "nimbdesk/window/datadir.h"

#include "corekit/lvector.h"
#include "meteo/location/wlocationdb.h"
#include "meteo/location/wlocationfile.h"
#include "meteo/location/wrecords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

// The location files list the places of this country.
constexpr std::uint32_t UNITED_STATES = 1;

QString problemText(WLocationFileProblem problem)
{
    switch (problem) {
    case WLocationFileProblem::None:
        break;
    case WLocationFileProblem::Missing:
        return QCoreApplication::translate("DataDir", "it is missing");
    case WLocationFileProblem::Folder:
        return QCoreApplication::translate("DataDir", "a folder stands in its place, not a regular file");
    case WLocationFileProblem::Fifo:
        return QCoreApplication::translate("DataDir", "a FIFO stands in its place, not a regular file");
    case WLocationFileProblem::Device:
        return QCoreApplication::translate("DataDir", "a device stands in its place, not a regular file");
    case WLocationFileProblem::Socket:
        return QCoreApplication::translate("DataDir", "a socket stands in its place, not a regular file");
    case WLocationFileProblem::Unreadable:
        return QCoreApplication::translate("DataDir", "the program may not read it");
    }
    return {};
}

} // namespace

QStringList dataDirectoryCandidates(const QString &commandLineDirectory, const QString &applicationDirectory)
{
    if (!commandLineDirectory.isEmpty())
        return {commandLineDirectory};
    return {QDir::cleanPath(applicationDirectory + QLatin1Char('/') + QStringLiteral(NIMBREL_DATA_FROM_BINDIR)),
        QStringLiteral(NIMBREL_INSTALL_DATA_DIR), QStringLiteral(NIMBREL_SOURCE_DATA_DIR)};
}

// A folder that holds the names is the one meant: what is wrong with a file is then said, rather than that the files
// are not there.
bool holdsLocationFiles(const QString &directory)
{
    const QDir folder(directory);
    for (const char *name : LOCATION_FILES) {
        const QFileInfo file(folder.filePath(QLatin1String(name)));
        if (!file.exists() && !file.isSymLink())
            return false;
    }
    return true;
}

QString unreadableLocationFile(const QString &directory, QString &reason)
{
    const QDir folder(directory);
    for (const char *name : LOCATION_FILES) {
        const std::string path = QFile::encodeName(folder.filePath(QLatin1String(name))).toStdString();
        const WLocationFileProblem problem = locationFileProblem(path);
        if (problem != WLocationFileProblem::None) {
            reason = problemText(problem);
            return QLatin1String(name);
        }
    }
    return {};
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
