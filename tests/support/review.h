#pragma once

#include <QtGlobal>

// The tests that draw PNG files for a reviewer run only when asked for: "ctest -L review" runs each on its own with
// NIMBREL_REVIEW set; every other run skips them.
#define NIMBREL_REVIEW_ONLY()                                                                                          \
    do {                                                                                                               \
        if (!qEnvironmentVariableIsSet("NIMBREL_REVIEW"))                                                              \
            QSKIP("draws for review only (ctest -L review)");                                                          \
    } while (false)
