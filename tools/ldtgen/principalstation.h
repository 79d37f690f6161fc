#pragma once

#include <cstdint>

namespace ldtgen
{

// The station that people of one of the largest cities know as its own, by Census place code (3651000, New York,
// gives "knyc", Central Park); nullptr for other places. The nearest station is often a small field or a
// heliport there ("kjrb", Wall Street), and the city's weather is reported from its principal airport or park.
const char *principalStation(std::uint32_t placeCode);

} // namespace ldtgen
