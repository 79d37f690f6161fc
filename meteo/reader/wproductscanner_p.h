#pragma once

#include "corekit/lstring.h"

#include <string>
#include <vector>

namespace meteo
{

// Picks the messages that concern one place out of a text-product page, fed line by line as the page is read.
// The kept lines are gathered in a scratch buffer, so that a large page costs time linear in its size. Exported
// for the tests and fuzzers only; this header is not installed.
class WProductScanner
{
public:
    virtual ~WProductScanner() = default;

    // Takes the next page line as read, with its line feed. Returns false when the scanner wants no more lines.
    bool feed(const corekit::LString &rawLine);

    bool isEmpty() const { return m_text.empty(); }
    // The kept lines, each ended by "\r\n", every line after the first begun by one blank:
    // "A\r\n B\r\n C\r\n".
    corekit::LString text() const { return corekit::LString(m_text.data(), m_text.size()); }
    // The kept text cut where each message began, every line ended by a line feed alone: "A\nB\n".
    std::vector<std::string> messages() const;

protected:
    // One line with its tags stripped; hasBreak tells that the raw line held "<BR>", which ends a message.
    virtual bool step(const corekit::LString &line, bool hasBreak) = 0;
    void keep(const corekit::LString &line);
    // The lines kept from now on belong to a new message.
    void startMessage();

private:
    std::string m_text;
    // Where in m_text each message begins.
    std::vector<std::size_t> m_starts;
    // Reused for every line.
    std::string m_scratch;
    corekit::LString m_line;
};

} // namespace meteo
