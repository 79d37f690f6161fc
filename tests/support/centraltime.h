#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace nimbreltest
{

// The window's clock texts are the machine's local time: a test that includes this reads them in US Central time.
class CentralTime final : public ::testing::Environment
{
public:
    void SetUp() override
    {
        setenv("TZ", "America/Chicago", 1);
        tzset();
    }
};

[[maybe_unused]] inline const ::testing::Environment *const centralTime
    = ::testing::AddGlobalTestEnvironment(new CentralTime);

} // namespace nimbreltest
