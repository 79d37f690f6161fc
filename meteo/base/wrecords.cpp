#include "meteo/base/wrecords.h"

#include "corekit/lex.h"
#include "meteo/base/wlocation.h"

using namespace corekit;

namespace meteo
{

WCountry::WCountry() = default;

WCountry::WCountry(std::uint32_t id, const LString &name, const LString &data)
    : m_id(id)
    , m_name(name)
    , m_data(data)
{
}

WCountry::WCountry(const WCountry &other) = default;
WCountry &WCountry::operator=(const WCountry &other) = default;
WCountry::~WCountry() = default;

WState::WState() = default;

WState::WState(std::uint32_t id, std::uint32_t countryId, const LString &name, const LString &data)
    : m_id(id)
    , m_countryId(countryId)
    , m_name(name)
    , m_data(data)
{
}

WState::WState(const WState &other) = default;
WState &WState::operator=(const WState &other) = default;
WState::~WState() = default;

void WState::setData(std::uint32_t id, std::uint32_t countryId, const LString &name, const LString &data)
{
    m_id = id;
    m_countryId = countryId;
    m_name = name;
    m_data = data;
}

WArea::WArea() = default;

WArea::WArea(std::uint32_t id, std::uint32_t countryId, std::uint32_t stateId, const LString &name, const LString &data)
    : m_id(id)
    , m_countryId(countryId)
    , m_stateId(stateId)
    , m_name(name)
    , m_data(data)
{
}

WArea::WArea(const WArea &other) = default;
WArea &WArea::operator=(const WArea &other) = default;
WArea::~WArea() = default;

WCity::WCity() = default;

WCity::WCity(std::uint32_t id, std::uint32_t countryId, std::uint32_t stateId, const LString &name, const LString &data)
    : m_id(id)
    , m_countryId(countryId)
    , m_stateId(stateId)
    , m_name(name)
    , m_data(data)
{
}

WCity::WCity(const WCity &other) = default;
WCity &WCity::operator=(const WCity &other) = default;
WCity::~WCity() = default;

void WCity::setCity(
    std::uint32_t id, std::uint32_t countryId, std::uint32_t stateId, const LString &name, const LString &data)
{
    m_id = id;
    m_countryId = countryId;
    m_stateId = stateId;
    m_name = name;
    m_data = data;
}

int WCity::getDataToken(const char *key, LString &value) const
{
    return WLocation::getDataToken(m_data, key, value);
}

LString WCity::getListName() const
{
    LString county;
    if (getDataToken("acounty", county) != L_OK || county.isEmpty())
        return m_name;
    LString name = m_name;
    name += " (";
    name += county;
    name += ")";
    return name;
}

} // namespace meteo
