#pragma once

#include <string>

namespace ldtgen
{

// The name of one of the 50 states, the District of Columbia or Puerto Rico by its postal code ("IL" gives
// "Illinois"); nullptr for any other code, which leaves the territories out of the location files.
const char *stateName(const std::string &postalCode);

// The postal code of the state that a ZIP code belongs to, by its first three digits as the Postal Service assigns
// them ("50309" gives "IA", "20001" "DC"); nullptr for the codes of the territories and the armed forces and for
// prefixes not in use.
const char *zipState(const std::string &zip);

} // namespace ldtgen
