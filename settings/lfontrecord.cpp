#include "settings/lfontrecord.h"

#include <cstring>

using namespace corekit;

namespace settings
{

namespace
{

constexpr std::size_t FLAGS_OFFSET = 20;
constexpr std::size_t FACE_OFFSET = 28;

void putInt32(unsigned char *at, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(bits >> (8 * i));
}

std::int32_t getInt32(const unsigned char *at)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

} // namespace

LFontRecord LFontRecord::standard()
{
    LFontRecord record;
    record.height = -13;
    record.weight = 400;
    record.outPrecision = 1; // OUT_STRING_PRECIS
    record.clipPrecision = 2; // CLIP_STROKE_PRECIS
    record.quality = 1; // DRAFT_QUALITY
    record.pitchAndFamily = 0x22; // VARIABLE_PITCH | FF_SWISS
    std::strncpy(record.faceName, "MS Sans Serif", FACE_SIZE);
    return record;
}

LBinary LFontRecord::toBinary() const
{
    unsigned char bytes[SIZE];
    const std::int32_t numbers[] = {height, width, escapement, orientation, weight};
    for (std::size_t i = 0; i < 5; ++i)
        putInt32(bytes + 4 * i, numbers[i]);
    const std::uint8_t flags[]
        = {italic, underline, strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily};
    std::memcpy(bytes + FLAGS_OFFSET, flags, sizeof flags);
    std::memcpy(bytes + FACE_OFFSET, faceName, FACE_SIZE);
    return LBinary(bytes, SIZE);
}

bool LFontRecord::fromBinary(const LBinary &binary)
{
    if (binary.size() != SIZE)
        return false;
    const unsigned char *bytes = binary.data();
    std::int32_t *numbers[] = {&height, &width, &escapement, &orientation, &weight};
    for (std::size_t i = 0; i < 5; ++i)
        *numbers[i] = getInt32(bytes + 4 * i);
    std::uint8_t *flags[]
        = {&italic, &underline, &strikeOut, &charSet, &outPrecision, &clipPrecision, &quality, &pitchAndFamily};
    for (std::size_t i = 0; i < 8; ++i)
        *flags[i] = bytes[FLAGS_OFFSET + i];
    std::memcpy(faceName, bytes + FACE_OFFSET, FACE_SIZE);
    return true;
}

LString LFontRecord::face() const
{
    const void *end = std::memchr(faceName, '\0', FACE_SIZE);
    return LString(faceName, end ? static_cast<unsigned long>(static_cast<const char *>(end) - faceName) : FACE_SIZE);
}

} // namespace settings
