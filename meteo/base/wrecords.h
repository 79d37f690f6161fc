#pragma once

#include "corekit/lstring.h"
#include "meteo/meteo_base_export.h"

#include <cstdint>

namespace meteo
{

// The value records of the location database, one per line of its data files. Default construction gives ids 0
// and empty texts; copies are deep.

class METEO_BASE_EXPORT WCountry
{
public:
    WCountry();
    WCountry(std::uint32_t id, const corekit::LString &name, const corekit::LString &data);
    WCountry(const WCountry &other);
    WCountry &operator=(const WCountry &other);
    ~WCountry();

    std::uint32_t getId() const { return m_id; }
    const corekit::LString &getName() const { return m_name; }
    const corekit::LString &getData() const { return m_data; }

private:
    std::uint32_t m_id = 0;
    corekit::LString m_name;
    corekit::LString m_data;
};

// A state's data is its short code as the weather service writes it in page addresses ("il").
class METEO_BASE_EXPORT WState
{
public:
    WState();
    WState(std::uint32_t id, std::uint32_t countryId, const corekit::LString &name, const corekit::LString &data);
    WState(const WState &other);
    WState &operator=(const WState &other);
    ~WState();

    void setData(std::uint32_t id, std::uint32_t countryId, const corekit::LString &name, const corekit::LString &data);

    std::uint32_t getId() const { return m_id; }
    std::uint32_t getCountryId() const { return m_countryId; }
    const corekit::LString &getName() const { return m_name; }
    const corekit::LString &getData() const { return m_data; }

private:
    std::uint32_t m_id = 0;
    std::uint32_t m_countryId = 0;
    corekit::LString m_name;
    corekit::LString m_data;
};

class METEO_BASE_EXPORT WArea
{
public:
    WArea();
    WArea(std::uint32_t id, std::uint32_t countryId, std::uint32_t stateId, const corekit::LString &name,
        const corekit::LString &data);
    WArea(const WArea &other);
    WArea &operator=(const WArea &other);
    ~WArea();

    std::uint32_t getId() const { return m_id; }
    std::uint32_t getCountryId() const { return m_countryId; }
    std::uint32_t getStateId() const { return m_stateId; }
    const corekit::LString &getName() const { return m_name; }
    const corekit::LString &getData() const { return m_data; }

private:
    std::uint32_t m_id = 0;
    std::uint32_t m_countryId = 0;
    std::uint32_t m_stateId = 0;
    corekit::LString m_name;
    corekit::LString m_data;
};

// A city's data is a run of keyed tokens: "acode(KSPI)azone(ILZ051)alat(39.7817)alon(-89.6501)", and for a city
// whose state has another of the same name, its county: "acounty(Starr County)" (with the kind of place where the
// county holds both: "acounty(Waukesha County, village)").
class METEO_BASE_EXPORT WCity
{
public:
    WCity();
    WCity(std::uint32_t id, std::uint32_t countryId, std::uint32_t stateId, const corekit::LString &name,
        const corekit::LString &data);
    WCity(const WCity &other);
    WCity &operator=(const WCity &other);
    ~WCity();

    void setCity(std::uint32_t id, std::uint32_t countryId, std::uint32_t stateId, const corekit::LString &name,
        const corekit::LString &data);
    // The value of one token of the city's data; results as WLocation::getDataToken.
    int getDataToken(const char *key, corekit::LString &value) const;
    // The name that tells the city apart in a list: the name, and where the data names a county because the state
    // has another place of the name, the county after it: "Mesquite (Starr County)".
    corekit::LString getListName() const;

    std::uint32_t getId() const { return m_id; }
    std::uint32_t getCountryId() const { return m_countryId; }
    std::uint32_t getStateId() const { return m_stateId; }
    const corekit::LString &getName() const { return m_name; }
    const corekit::LString &getData() const { return m_data; }

private:
    std::uint32_t m_id = 0;
    std::uint32_t m_countryId = 0;
    std::uint32_t m_stateId = 0;
    corekit::LString m_name;
    corekit::LString m_data;
};

} // namespace meteo
