#pragma once

#include "corekit/lex.h"

#include <cstdint>
#include <new>

namespace corekit
{

// The array in which the location database returns its lists: an owned heap array of exactly size() elements.
template<typename T>
class LVector
{
public:
    LVector() = default;
    LVector(const LVector &other) { copyFrom(other); }
    LVector &operator=(const LVector &other)
    {
        if (this != &other) {
            LVector copy(other);
            swap(copy);
        }
        return *this;
    }
    ~LVector() { delete[] m_data; }

    // Makes the array exactly n elements long, keeping the first min(size(), n) elements.
    void resize(std::uint32_t n)
    {
        T *data = allocate(n);
        try {
            for (std::uint32_t i = 0; i < n && i < m_count; ++i)
                data[i] = m_data[i];
        } catch (...) {
            delete[] data;
            throw;
        }
        delete[] m_data;
        m_data = data;
        m_count = n;
    }

    T &operator[](std::uint32_t i)
    {
        if (i >= m_count)
            throw LEx(L_RANGE);
        return m_data[i];
    }
    const T &operator[](std::uint32_t i) const
    {
        if (i >= m_count)
            throw LEx(L_RANGE);
        return m_data[i];
    }
    std::uint32_t size() const { return m_count; }

    T *begin() { return m_data; }
    T *end() { return m_data + m_count; }
    const T *begin() const { return m_data; }
    const T *end() const { return m_data + m_count; }

private:
    static T *allocate(std::uint32_t n)
    {
        if (n == 0)
            return nullptr;
        T *data = new (std::nothrow) T[n];
        if (!data)
            throw LEx(L_MEM);
        return data;
    }
    void copyFrom(const LVector &other)
    {
        m_data = allocate(other.m_count);
        m_count = other.m_count;
        try {
            for (std::uint32_t i = 0; i < m_count; ++i)
                m_data[i] = other.m_data[i];
        } catch (...) {
            delete[] m_data;
            throw;
        }
    }
    void swap(LVector &other) noexcept
    {
        T *data = m_data;
        m_data = other.m_data;
        other.m_data = data;
        std::uint32_t count = m_count;
        m_count = other.m_count;
        other.m_count = count;
    }

    T *m_data = nullptr;
    std::uint32_t m_count = 0;
};

} // namespace corekit
