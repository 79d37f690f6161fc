#pragma once

#include "meteo/meteo_export.h"

#include <array>
#include <string>

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
METEO_EXPORT WLocationFileProblem locationFileProblem(const std::string &path);

// The problem in words after a file's name: "is a FIFO, not a regular file"; empty for None.
METEO_EXPORT const char *describeLocationFileProblem(WLocationFileProblem problem);
