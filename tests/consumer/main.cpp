#include "corekit/lex.h"
#include "corekit/lstring.h"
#include "meteo/base/wconvert.h"

#include <cstdio>

using namespace corekit;
using namespace meteo;

int main()
{
    LString text("wind ");
    text.printf("%.1f mph", static_cast<double>(knots2MPH(10)));
    try {
        throwLEx(L_RANGE, "consumer", "thrown across the library boundary");
    } catch (const LEx &e) {
        std::printf("%s; caught %d\n", static_cast<const char *>(text), e.code());
        return e.code() == L_RANGE ? 0 : 1;
    }
    return 1;
}
