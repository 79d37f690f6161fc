#pragma once

#include "tools/ldtgen/locationset.h"

#include <string>

namespace ldtgen
{

// Writes countries.ldt, states.ldt, areas.ldt, cities.ldt, zipcodes.ldt and stations.ldt into directory, one record a
// line; the record streams put the comma that separates two records at the start of the later line:
//   1,1,"Alabama","al"
//   ,2,1,"Alaska","ak"
// False, with a reason, when a file cannot be written.
bool writeLocationFiles(const LocationSet &set, const std::string &directory, std::string &error);

} // namespace ldtgen
