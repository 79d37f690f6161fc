#pragma once

#include "corekit/lstream.h"

#include <cstdint>

namespace meteo
{

// One record as it stands in a location file: up to three ids, then the name and the data.
//   ,1714000,1,17,"Chicago","acode(KORD)azone(ILZ104)alat(41.837)alon(-87.6849)"
// The texts are read into buffers of their own, so that records a reader does not keep cost no allocation.
struct RawRecord {
    std::uint32_t ids[3] = {0, 0, 0};
    char name[corekit::LSTREAM_MAX_TEXT + 1];
    char data[corekit::LSTREAM_MAX_TEXT + 1];
};

// Reads the next record, which opens with ids ids. False, or LEx L_INPUT from the stream, when the record is
// damaged: the file ends before the closing quote of its last value (an empty file ends before the first), or one
// of its ids is not a number.
bool readRecord(corekit::LIStream &in, int ids, RawRecord &raw);

} // namespace meteo
