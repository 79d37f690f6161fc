#pragma once

#include "meteo/meteo_base_export.h"

#include <array>
#include <string>
#include <vector>

namespace meteo
{

// The files of a location folder, and why one of them cannot be read as a record file. The check looks at the file
// without opening it, so a FIFO in its place cannot hold up the program.

// The four files every location folder holds, in the order the programs check them.
inline constexpr std::array<const char *, 4> LOCATION_FILES
    = {"countries.ldt", "states.ldt", "areas.ldt", "cities.ldt"};

enum class WLocationFileProblem {
    None,
    Missing,
    Folder,
    Fifo,
    Device,
    Socket,
    // The file is there but this user may not read it, or it could not be looked at.
    Unreadable,
};

// What stands in the way of reading the file at path; None for a regular file that can be read.
METEO_BASE_EXPORT WLocationFileProblem locationFileProblem(const std::string &path);

// The problem in words after a file's name: "is a FIFO, not a regular file"; empty for None.
METEO_BASE_EXPORT const char *describeLocationFileProblem(WLocationFileProblem problem);

// Where a program looks for its location folder. Only the folder given, when one is; else, in order, the folder
// beside the program as it is installed ("/opt/nimbrel/bin" and "../share/nimbrel" give "/opt/nimbrel/share/nimbrel",
// so a moved installation still finds its files), the folder of the installation the program was built for, and
// the source tree's data folder, so that a program run from its build tree finds the files without being installed.
struct WDataFolderPlaces {
    std::string given;
    std::string programFolder;
    std::string fromProgram;
    std::string installed;
    std::string source;
};
METEO_BASE_EXPORT std::vector<std::string> dataFolderCandidates(const WDataFolderPlaces &places);

// True when the folder holds the four files' names. A folder that holds them is the one meant, whatever stands under
// them: what is wrong with a file is then said, rather than that the files are not there.
METEO_BASE_EXPORT bool holdsLocationFiles(const std::string &folder);

// The first candidate that holds the files' names; empty when none does.
METEO_BASE_EXPORT std::string findDataFolder(const std::vector<std::string> &candidates);

// The first of the folder's four files that cannot be read, and why; a null name when every one can.
struct WUnreadableFile {
    const char *name = nullptr;
    WLocationFileProblem problem = WLocationFileProblem::None;
};
METEO_BASE_EXPORT WUnreadableFile unreadableLocationFile(const std::string &folder);

} // namespace meteo
