#pragma once

#include "corekit/lkeeper.h"

#include <string>
#include <vector>

namespace nimbreltest
{

// An info line that records every call: a text as it was shown, a Clear as "<clear>".
class InfoLineRecorder final : public corekit::LInfoLine
{
public:
    void SetText(const corekit::LString &text) override { calls.emplace_back(static_cast<const char *>(text)); }
    void Clear() override { calls.emplace_back("<clear>"); }

    std::vector<std::string> calls;
};

} // namespace nimbreltest
