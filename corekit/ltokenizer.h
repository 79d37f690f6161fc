#pragma once

#include "corekit/corekit_export.h"
#include "corekit/lstring.h"

namespace corekit
{

// Hands out the pieces of a text between occurrences of a separator string. Two adjacent separators give an
// empty token; a trailing separator gives no empty last token.
class COREKIT_EXPORT LTokenizer
{
public:
    LTokenizer(const LString &text, const LString &separator);

    // Takes the next token; at the end (eof() true) the token is left as it was.
    LTokenizer &operator>>(LString &token);
    bool eof() const { return m_offset >= m_length; }

private:
    // The text not yet handed out is m_text from m_offset on; moving the offset instead of cutting the text keeps
    // a long text with many separators linear.
    LString m_text;
    unsigned long m_length;
    unsigned long m_offset = 0;
    LString m_separator;
};

} // namespace corekit
