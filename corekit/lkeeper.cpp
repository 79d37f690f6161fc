#include "corekit/lkeeper.h"

#include "corekit/lex.h"

#include <cstdlib>
#include <cstring>

namespace corekit
{

LBinary::LBinary(const void *bytes, std::uint32_t size)
{
    assign(bytes, size);
}

LBinary::LBinary(const LBinary &other)
{
    assign(other.m_data, other.m_size);
}

LBinary &LBinary::operator=(const LBinary &other)
{
    if (this != &other)
        assign(other.m_data, other.m_size);
    return *this;
}

LBinary::~LBinary()
{
    std::free(m_data);
}

void LBinary::reserve(std::uint32_t size)
{
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
    if (size == 0)
        return;
    m_data = static_cast<unsigned char *>(std::malloc(size));
    if (!m_data)
        throw LEx(L_MEM);
    m_size = size;
}

void LBinary::assign(const void *bytes, std::uint32_t size)
{
    reserve(size);
    if (size)
        std::memcpy(m_data, bytes, size);
}

} // namespace corekit
