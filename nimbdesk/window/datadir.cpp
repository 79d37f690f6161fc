#include "nimbdesk/window/datadir.h"

#include "corekit/lvector.h"
#include "meteo/base/wlocationfile.h"
#include "meteo/base/wrecords.h"
#include "meteo/location/wlocationdb.h"

#include <QCoreApplication>
#include <QFile>

using namespace corekit;
using namespace meteo;

namespace nimbdesk
{

namespace
{

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
    QStringList candidates;
    for (const std::string &candidate : dataFolderCandidates({QFile::encodeName(commandLineDirectory).toStdString(),
             QFile::encodeName(applicationDirectory).toStdString(), NIMBREL_DATA_FROM_BINDIR, NIMBREL_INSTALL_DATA_DIR,
             NIMBREL_SOURCE_DATA_DIR}))
        candidates << QFile::decodeName(candidate.c_str());
    return candidates;
}

bool holdsLocationFiles(const QString &directory)
{
    return meteo::holdsLocationFiles(QFile::encodeName(directory).toStdString());
}

QString unreadableLocationFile(const QString &directory, QString &reason)
{
    const WUnreadableFile file = meteo::unreadableLocationFile(QFile::encodeName(directory).toStdString());
    if (!file.name)
        return {};
    reason = problemText(file.problem);
    return QLatin1String(file.name);
}

QString findDataDirectory(const QStringList &candidates)
{
    std::vector<std::string> names;
    for (const QString &candidate : candidates)
        names.push_back(QFile::encodeName(candidate).toStdString());
    return QFile::decodeName(findDataFolder(names).c_str());
}

// The lists read the whole of their file, so damage anywhere in it shows; the cities file is read once, for the first
// state, as the location dialog reads it.
QString damagedLocationFile(const QString &directory)
{
    const WLocationDB database(LString(QFile::encodeName(directory).constData()));
    LVector<WState> states;
    if (database.getStateList(WLocationDB::UNITED_STATES, states) != 0 || states.size() == 0)
        return QStringLiteral("states.ldt");
    LVector<WCity> cities;
    if (database.getCityList(WLocationDB::UNITED_STATES, states[0].getId(), cities) != 0 || cities.size() == 0)
        return QStringLiteral("cities.ldt");
    return {};
}

} // namespace nimbdesk
