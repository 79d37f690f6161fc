#pragma once

#include <QString>
#include <QStringList>

namespace nimbdesk
{

// Where the program looks for its location files ("countries.ldt", "states.ldt", "areas.ldt", "cities.ldt").
//
// A folder named on the command line is the only candidate. Otherwise, in order: the folder beside the program as
// it is installed ("/opt/nimbrel/bin/nimbdesk" looks in "/opt/nimbrel/share/nimbrel", so a moved installation still
// finds its files), the folder of the installation the program was built for, and the source tree's data folder,
// so that a program run from its build tree finds the files without being installed.
QStringList dataDirectoryCandidates(const QString &commandLineDirectory, const QString &applicationDirectory);

// True when the folder holds all four location files' names, whatever stands under them.
bool holdsLocationFiles(const QString &directory);

// The first of the four location files of the folder that is no regular file the program can read ("cities.ldt"
// when a FIFO or a folder stands in its place), with why in reason ("is a FIFO, not a regular file"); empty when
// all are. Looks at the files without opening them.
QString unreadableLocationFile(const QString &directory, QString &reason);

// The first candidate that holds the location files; empty when none does.
QString findDataDirectory(const QStringList &candidates);

// The name of the first location file of the folder that cannot be read whole ("states.ldt" when it lists no
// state, "cities.ldt" when it is cut short or holds garbage, or lists no city of the first state); empty when the
// files are sound.
QString damagedLocationFile(const QString &directory);

} // namespace nimbdesk
