#pragma once

#include "corekit/corekit_export.h"

#include <cstdint>

namespace corekit
{

// Result and exception codes shared by the whole system: ordinary failures come back as these ints,
// exceptional ones are thrown as an LEx carrying one of them.
enum LCode : std::int32_t {
    L_OK = 0,
    L_ERROR = 1,
    L_MEM = 2,
    L_NOTFOUND = 3,
    L_INPUT = 4,
    L_WRONGTYPE = 5,
    L_CONNECT = 6,
    L_DB = 7,
    L_RANGE = 8,
    L_CONVERTION = 9,
    L_OUTPUT = 10,
    L_FORMAT = 11,
    L_OPEN = 12,
    L_CREATE = 13,
};

// The one exception type. Its type information must be the same object in every library that throws or
// catches it, so the class keeps default visibility whatever the build's visibility preset.
class __attribute__((visibility("default"))) LEx
{
public:
    explicit LEx(std::int32_t code, const char *text = nullptr);
    LEx(const LEx &other);
    LEx &operator=(const LEx &other);
    ~LEx();

    std::int32_t code() const { return m_code; }
    // The message, or null when the exception was built without one.
    const char *text() const { return m_text; }

    // The library's description of a code ("L_MEM: Memory allocation error"), or "Unknown exception id".
    static const char *describe(std::int32_t code);

private:
    std::int32_t m_code;
    char *m_text;
};

// Throws an LEx whose text reads "Class::operation -- reason".
[[noreturn]] COREKIT_EXPORT void throwLEx(std::int32_t code, const char *where, const char *reason);

} // namespace corekit
