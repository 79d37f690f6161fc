#include "meteo/location/wrawrecord_p.h"

#include <climits>

using namespace corekit;

namespace meteo
{

namespace
{

// The stream leaves an integer without digits ("abc,") untouched, and every value it reads fits 32 bits, so this
// marks an id that was not there.
constexpr unsigned long NO_NUMBER = ULONG_MAX;

} // namespace

bool readRecord(LIStream &in, int ids, RawRecord &raw)
{
    for (int i = 0; i < ids; ++i) {
        unsigned long id = NO_NUMBER;
        in >> id;
        if (id == NO_NUMBER || in.eof())
            return false;
        raw.ids[i] = static_cast<std::uint32_t>(id);
    }
    in >> raw.name;
    if (in.eof())
        return false;
    in >> raw.data;
    return true;
}

} // namespace meteo
