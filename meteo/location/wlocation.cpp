#include "meteo/location/wlocation.h"

#include "corekit/lex.h"

#include <cstring>

WLocation::WLocation() = default;
WLocation::WLocation(const WLocation &other) = default;
WLocation &WLocation::operator=(const WLocation &other) = default;
WLocation::~WLocation() = default;

int WLocation::getDataToken(const LString &data, const char *key, LString &value)
{
    const char *wanted = key ? key : "";
    unsigned long position;
    if (data.find(wanted, position) != 0)
        return L_NOTFOUND;
    const char *open = static_cast<const char *>(data) + position + std::strlen(wanted);
    if (*open != '(')
        return L_FORMAT;
    const char *close = std::strchr(open + 1, ')');
    if (!close)
        return L_FORMAT;
    value.assign(open + 1, static_cast<unsigned long>(close - open - 1));
    return L_OK;
}

void WLocation::setName(const LString &name)
{
    m_name = name;
}

void WLocation::setShortState(const LString &shortState)
{
    m_shortState = shortState;
}

void WLocation::setCityData(const LString &cityData)
{
    m_cityData = cityData;
}

int WLocation::getCityData(const char *key, LString &value) const
{
    return getDataToken(m_cityData, key, value);
}
