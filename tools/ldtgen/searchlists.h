#pragma once

#include "tools/ldtgen/locationset.h"

#include <string>

namespace ldtgen
{

// The lists that let people find a place by what they know of it, built from the finished cities.

// Every ZIP code tabulation area of a state of the set, as a record whose id is the code as a number, whose
// name is the code's five digits and whose data names the nearest city of that state (by centre) and how far it
// lies, in kilometres with one decimal:
//   50309,1,19,"50309","acity(1921000)adist(1.4)"
// A ZIP code whose prefix belongs to no state of the set (the Virgin Islands, the Pacific territories) is counted
// and left out.
void buildZipCodes(const SourceData &source, LocationSet &set);

// The position of every station that serves a city, numbered from 1 in the order of the codes:
//   17,1,0,"KDSM","alat(41.5339)alon(-93.6631)"
// False, with a reason, when a city's station has no known position.
bool buildStationList(const SourceData &source, LocationSet &set, std::string &error);

} // namespace ldtgen
