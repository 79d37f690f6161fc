#pragma once

#include "corekit/lstring.h"
#include "corekit/lvector.h"
#include "meteo/base/wlocation.h"
#include "meteo/base/wrecords.h"
#include "meteo/meteo_export.h"

#include <cstdint>

namespace corekit
{
class LIStream;
}

namespace meteo
{

// The location database: four record files in one directory, "countries.ldt", "states.ldt", "areas.ldt" and
// "cities.ldt", read afresh on every query. One line of "cities.ldt" reads
//   ,1714000,1,17,"Chicago","acode(KORD)azone(ILZ104)alat(41.837)alon(-87.6849)"
// (id, country id, state id, name, data); states and areas have the same shape with fewer ids, countries have
// just the id. Lookups take the first record of an id; lists and iterations keep file order.
//
// Queries return 0 or -1 and never throw. A file that is missing, empty, cut short inside a record or that has
// a record whose id is not a number fails every query that has to read that far; a lookup that finds its record
// before the damage still succeeds.
//
// One state or city iteration is open at a time; lists and lookups open files of their own and may run during
// it. An iteration belongs to one thread from its start to its close.
class METEO_EXPORT WLocationDB
{
public:
    WLocationDB();
    // An empty directory means the current directory.
    // The id of the United States, the country of every state and city of the files.
    static constexpr std::uint32_t UNITED_STATES = 1;

    explicit WLocationDB(const corekit::LString &directory);
    // Copies take the directory only; no iteration is open in them.
    WLocationDB(const WLocationDB &other);
    WLocationDB &operator=(const WLocationDB &other);
    ~WLocationDB();

    // The process-wide database. initLocationDB replaces any existing instance (throws LEx L_MEM when it cannot
    // be made); getLocationDB must not be called before it or after closeLocationDB.
    static void initLocationDB(const corekit::LString &directory);
    static void closeLocationDB();
    static WLocationDB &getLocationDB() { return *p_locDB; }

    // The directory of the files, as given.
    const corekit::LString &getDirectory() const { return m_directory; }

    // Fill the list with every matching record; on -1 the list is untouched, or partly filled when memory ran out.
    int getCountryList(corekit::LVector<WCountry> &list) const;
    int getStateList(std::uint32_t countryId, corekit::LVector<WState> &list) const;
    int getAreaList(std::uint32_t countryId, std::uint32_t stateId, corekit::LVector<WArea> &list) const;
    int getCityList(std::uint32_t countryId, std::uint32_t stateId, corekit::LVector<WCity> &list) const;

    // The first record of the id; on -1 the record is untouched.
    int getCountry(std::uint32_t id, WCountry &country) const;
    int getState(std::uint32_t id, WState &state) const;
    int getArea(std::uint32_t id, WArea &area) const;
    int getCity(std::uint32_t id, WCity &city) const;

    // Every state of the file, whatever the country; getNextState returns -1 at the end.
    int initStateIterator(std::uint32_t countryId);
    int getNextState(WState &state);
    // The cities of one state, whatever their country; getNextCity returns -1 at the end.
    int initCityIterator(std::uint32_t countryId, std::uint32_t stateId);
    int getNextCity(WCity &city);
    void closeStateIterator();
    void closeCityIterator();

    // Country UNITED_STATES, the given state and city, area 0, the city's data, the state's data as the
    // short state and the name "Springfield, Illinois, United States". The city's own state is not checked.
    // On -1 the location is untouched.
    int makeUSLocation(std::uint32_t stateId, std::uint32_t cityId, WLocation &location) const;

private:
    // "dir" and "cities.ldt" give "dir/cities.ldt"; an empty directory gives the bare file name.
    static void getFileName(const corekit::LString &directory, const char *fileName, corekit::LString &path);
    corekit::LString path(const char *fileName) const;
    int openIterator(const char *fileName);

    corekit::LString m_directory;
    corekit::LIStream *m_iterator = nullptr;
    std::uint32_t m_cityFilter = 0;

    static WLocationDB *p_locDB;
};

} // namespace meteo
