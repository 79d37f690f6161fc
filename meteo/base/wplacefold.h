#pragma once

#include "meteo/meteo_base_export.h"

#include <string>
#include <string_view>

namespace meteo
{

// Text as a place search compares it: lower case, Latin letters without their accents, every run of other
// characters (spaces, punctuation, bytes that are not UTF-8) one space, none at either end, and "saint", "sainte",
// "fort" and "mount" shortened as names often write them. "Cataño" gives "catano", "St. Louis" and "Saint Louis"
// give "st louis", "Winston-Salem" gives "winston salem". Letters of other scripts stay as they are. Whatever
// compares a typed name with a place's name folds both with it, so that a name found in one list is found in all.
METEO_BASE_EXPORT std::string foldPlaceText(std::string_view text);

// The same, the words kept as written: "Mount Vernon" gives "mount vernon". A filter that narrows a list as a person
// types compares with both, so that "moun", half of a word the other shortens, still finds Mount Vernon.
METEO_BASE_EXPORT std::string foldPlaceLetters(std::string_view text);

} // namespace meteo
