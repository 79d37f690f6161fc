#include "corekit/lex.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace corekit
{

namespace
{

const char *const descriptions[] = {
    "L_OK: No error (success)",
    "L_ERROR: Error occured",
    "L_MEM: Memory allocation error",
    "L_NOTFOUND: Something is not found (but expected to be there!)",
    "L_INPUT: Input failed",
    "L_WRONGTYPE: Type is supposed to be different",
    "L_CONNECT: Connection failed or cannot be established",
    "L_DB: Error while accessing database",
    "L_RANGE: Something is out of permitted range",
    "L_CONVERTION: Something cannot be converted into something",
    "L_OUTPUT: Output failed",
    "L_FORMAT: Format is invalid",
    "L_OPEN: Cannot open something",
    "L_CREATE: Cannot create something",
};
const char unknownCode[] = "Unknown exception id";
const char noText[] = "No addition information";

// Copies a message; an exception that cannot copy its text keeps none rather than throw while throwing.
char *duplicate(const char *text)
{
    if (!text)
        return nullptr;
    const std::size_t size = std::strlen(text) + 1;
    char *copy = static_cast<char *>(std::malloc(size));
    if (copy)
        std::memcpy(copy, text, size);
    return copy;
}

} // namespace

LEx::LEx(std::int32_t code, const char *text)
    : m_code(code)
    , m_text(duplicate(text))
{
}

LEx::LEx(const LEx &other)
    : m_code(other.m_code)
    , m_text(duplicate(other.m_text ? other.m_text : noText))
{
}

LEx &LEx::operator=(const LEx &other)
{
    if (this != &other) {
        char *text = duplicate(other.m_text ? other.m_text : noText);
        std::free(m_text);
        m_text = text;
        m_code = other.m_code;
    }
    return *this;
}

LEx::~LEx()
{
    std::free(m_text);
}

const char *LEx::describe(std::int32_t code)
{
    if (code < 0 || code >= static_cast<std::int32_t>(std::size(descriptions)))
        return unknownCode;
    return descriptions[code];
}

void throwLEx(std::int32_t code, const char *where, const char *reason)
{
    std::string text(where);
    text += " -- ";
    text += reason;
    throw LEx(code, text.c_str());
}

} // namespace corekit
