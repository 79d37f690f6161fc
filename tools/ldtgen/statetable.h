#pragma once

#include <string>

namespace ldtgen
{

// The name of one of the 50 states, the District of Columbia or Puerto Rico by its postal code ("IL" gives
// "Illinois"); nullptr for any other code, which leaves the territories out of the location files.
const char *stateName(const std::string &postalCode);

} // namespace ldtgen
