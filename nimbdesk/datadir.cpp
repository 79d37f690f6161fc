#include "nimbdesk/datadir.h"

#include <QDir>
#include <QFileInfo>

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
