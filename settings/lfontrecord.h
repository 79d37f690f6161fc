#pragma once

#include "corekit/lkeeper.h"
#include "corekit/lstring.h"

#include <cstddef>
#include <cstdint>

namespace settings
{

// A font description as the font settings store it: 60 bytes, laid out as
//   offset  0  height, width, escapement, orientation, weight   five little-endian 32-bit integers
//   offset 20  italic, underline, strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily
//   offset 28  faceName                                         32 bytes, NUL-padded
// A negative height is the character height in pixels; a weight of 400 is regular, 700 bold.
struct LFontRecord {
    static constexpr std::uint32_t SIZE = 60;
    static constexpr std::size_t FACE_SIZE = 32;

    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[FACE_SIZE] = {};

    // The default of every font setting: "MS Sans Serif", 13 pixels, regular, variable pitch, Swiss family.
    static LFontRecord standard();

    corekit::LBinary toBinary() const;
    // Takes the fields of a stored record; false, leaving the record as it was, unless it has exactly 60 bytes.
    bool fromBinary(const corekit::LBinary &binary);
    // The face name up to its first NUL (all 32 bytes when it has none).
    corekit::LString face() const;
};

} // namespace settings
