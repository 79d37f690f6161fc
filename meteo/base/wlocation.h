#pragma once

#include "corekit/lstring.h"
#include "meteo/meteo_base_export.h"

#include <cstdint>
#include <optional>

namespace meteo
{

// The place the user selected: its ids, a display name ("Springfield, Illinois, United States"), the state's short
// code and a copy of the city's data, from which the reader takes the station ("acode") and the forecast zone
// ("azone"). Ids are 0 while unset; the location is not valid until it has been filled.
class METEO_BASE_EXPORT WLocation
{
public:
    WLocation();
    WLocation(const WLocation &other);
    WLocation &operator=(const WLocation &other);
    ~WLocation();

    // The keys of a city's data: its reporting station, its forecast zone and its position in degrees.
    static constexpr const char *STATION_KEY = "acode";
    static constexpr const char *ZONE_KEY = "azone";
    static constexpr const char *LATITUDE_KEY = "alat";
    static constexpr const char *LONGITUDE_KEY = "alon";

    // The value of the token "key(value)" in data such as "acode(KSPI)azone(ILZ051)": L_OK with value set;
    // L_NOTFOUND when the key does not occur; L_FORMAT when it is not followed at once by "(" or no ")" follows.
    // The key is found by substring search, so it must not occur inside an earlier key or value. Value is only
    // written on L_OK.
    static int getDataToken(const corekit::LString &data, const char *key, corekit::LString &value);

    // The place's position in degrees from city data such as "alat(41.5726)alon(-93.6102)", read whatever the
    // locale; none unless both are finite numbers, the latitude within 90 and the longitude within 180.
    struct Coordinates {
        double latitude = 0;
        double longitude = 0;
    };
    static std::optional<Coordinates> coordinatesOf(const corekit::LString &data);

    bool isValid() const { return m_valid; }
    void setValid(bool valid) { m_valid = valid; }

    std::uint32_t getCountry() const { return m_country; }
    std::uint32_t getState() const { return m_state; }
    std::uint32_t getArea() const { return m_area; }
    std::uint32_t getCity() const { return m_city; }
    void setCountry(std::uint32_t id) { m_country = id; }
    void setState(std::uint32_t id) { m_state = id; }
    void setArea(std::uint32_t id) { m_area = id; }
    void setCity(std::uint32_t id) { m_city = id; }

    const corekit::LString &getName() const { return m_name; }
    const corekit::LString &getShortState() const { return m_shortState; }
    void setName(const corekit::LString &name);
    void setShortState(const corekit::LString &shortState);
    void setCityData(const corekit::LString &cityData);
    // getDataToken on the city's data.
    int getCityData(const char *key, corekit::LString &value) const;
    // coordinatesOf the city's data.
    std::optional<Coordinates> getCoordinates() const;

private:
    std::uint32_t m_country = 0;
    std::uint32_t m_state = 0;
    std::uint32_t m_area = 0;
    std::uint32_t m_city = 0;
    corekit::LString m_cityData;
    corekit::LString m_name;
    corekit::LString m_shortState;
    bool m_valid = false;
};

} // namespace meteo
