#pragma once

#include "corekit/corekit_export.h"
#include "corekit/lex.h"
#include "corekit/lstring.h"

#include <cstdint>

namespace corekit
{

// A block of bytes stored as one binary setting (a font record, for instance).
class COREKIT_EXPORT LBinary
{
public:
    LBinary() = default;
    LBinary(const void *bytes, std::uint32_t size);
    LBinary(const LBinary &other);
    LBinary &operator=(const LBinary &other);
    ~LBinary();

    // Frees the old block and allocates size bytes of undefined contents.
    void reserve(std::uint32_t size);
    void assign(const void *bytes, std::uint32_t size);

    const unsigned char *data() const { return m_data; }
    unsigned char *data() { return m_data; }
    std::uint32_t size() const { return m_size; }

private:
    unsigned char *m_data = nullptr;
    std::uint32_t m_size = 0;
};

// Reads and writes named settings by section and key. Integers are 32-bit: signed settings and colour values are
// stored in them unchanged. Every caller passes false as the scope flag (the per-user store).
//
// Implementations must allow two keepers of the same application to be used from two threads at once.
// Keepers are owned by value and never deleted through this interface.
class LKeeper
{
public:
    LKeeper() = default;
    explicit LKeeper(const LString &appName)
        : m_appName(appName)
    {
    }

    void SetAppName(const LString &appName) { m_appName = appName; }
    const LString &GetAppName() const { return m_appName; }

    virtual bool Exists(const LString &section, const LString &key, bool global) = 0;
    // The Get operations return L_OK, L_NOTFOUND or L_WRONGTYPE and leave value untouched on failure.
    virtual int GetInt(const LString &section, const LString &key, std::uint32_t &value, bool global) = 0;
    virtual int GetString(const LString &section, const LString &key, LString &value, bool global) = 0;
    virtual int GetBinary(const LString &section, const LString &key, LBinary &value, bool global) = 0;
    // The Set operations return L_OK, L_CREATE or L_OUTPUT.
    virtual int SetInt(const LString &section, const LString &key, std::uint32_t value, bool global) = 0;
    virtual int SetString(const LString &section, const LString &key, const LString &value, bool global) = 0;
    virtual int SetBinary(const LString &section, const LString &key, const LBinary &value, bool global) = 0;

    // Lay down a default only where no value of any type is stored yet.
    int InitInt(const LString &section, const LString &key, std::uint32_t value, bool global)
    {
        return Exists(section, key, global) ? L_OK : SetInt(section, key, value, global);
    }
    int InitString(const LString &section, const LString &key, const LString &value, bool global)
    {
        return Exists(section, key, global) ? L_OK : SetString(section, key, value, global);
    }
    int InitBinary(const LString &section, const LString &key, const LBinary &value, bool global)
    {
        return Exists(section, key, global) ? L_OK : SetBinary(section, key, value, global);
    }

protected:
    ~LKeeper() = default;

private:
    LString m_appName;
};

// Receives one-line progress texts ("Getting current conditions...") and the end of a step.
class LInfoLine
{
public:
    virtual void SetText(const LString &text) = 0;
    virtual void Clear() = 0;

protected:
    ~LInfoLine() = default;
};

} // namespace corekit
