#include "meteo/location/wlocationdb.h"

#include "corekit/lex.h"
#include "corekit/lstream.h"
#include "meteo/location/wrawrecord_p.h"

#include <new>

using namespace corekit;

namespace meteo
{

WLocationDB *WLocationDB::p_locDB = nullptr;

namespace
{

struct Filter {
    std::uint32_t countryId = 0;
    std::uint32_t stateId = 0;
};

// What tells the four files apart: how many ids open a record, which records a list takes, how a record object
// is filled, and whether the list's second pass may stop once it has them all.
struct CountryFile {
    using Record = WCountry;
    static constexpr const char *name = "countries.ldt";
    static constexpr int ids = 1;
    static constexpr bool stopWhenFull = false;
    static bool matches(const RawRecord &, const Filter &) { return true; }
    static void fill(const RawRecord &raw, WCountry &out) { out = WCountry(raw.ids[0], raw.name, raw.data); }
};

struct StateFile {
    using Record = WState;
    static constexpr const char *name = "states.ldt";
    static constexpr int ids = 2;
    static constexpr bool stopWhenFull = true;
    static bool matches(const RawRecord &raw, const Filter &filter) { return raw.ids[1] == filter.countryId; }
    static void fill(const RawRecord &raw, WState &out) { out.setData(raw.ids[0], raw.ids[1], raw.name, raw.data); }
};

struct AreaFile {
    using Record = WArea;
    static constexpr const char *name = "areas.ldt";
    static constexpr int ids = 3;
    static constexpr bool stopWhenFull = true;
    static bool matches(const RawRecord &raw, const Filter &filter)
    {
        return raw.ids[1] == filter.countryId && raw.ids[2] == filter.stateId;
    }
    static void fill(const RawRecord &raw, WArea &out)
    {
        out = WArea(raw.ids[0], raw.ids[1], raw.ids[2], raw.name, raw.data);
    }
};

struct CityFile {
    using Record = WCity;
    static constexpr const char *name = "cities.ldt";
    static constexpr int ids = 3;
    static constexpr bool stopWhenFull = true;
    static bool matches(const RawRecord &raw, const Filter &filter) { return AreaFile::matches(raw, filter); }
    static void fill(const RawRecord &raw, WCity &out)
    {
        out.setCity(raw.ids[0], raw.ids[1], raw.ids[2], raw.name, raw.data);
    }
};

// Runs a query, turning the exceptions of exhausted memory and of the stream into the failure result.
template<typename Query>
int guarded(Query query)
{
    try {
        return query();
    } catch (const LEx &) {
        return -1;
    } catch (const std::bad_alloc &) {
        return -1;
    }
}

// The first pass of a list query; -1 when the file is damaged anywhere.
template<typename File>
int countMatches(LIStream &in, const Filter &filter, std::uint32_t &count)
{
    RawRecord raw;
    count = 0;
    while (!in.eof()) {
        if (!readRecord(in, File::ids, raw))
            return -1;
        if (File::matches(raw, filter))
            ++count;
    }
    return 0;
}

// The second pass: the list has exactly as many elements as the first pass counted.
template<typename File>
void fillMatches(LIStream &in, const Filter &filter, LVector<typename File::Record> &list)
{
    RawRecord raw;
    std::uint32_t stored = 0;
    while (!in.eof() && !(File::stopWhenFull && stored == list.size())) {
        if (!readRecord(in, File::ids, raw))
            throw LEx(L_INPUT);
        if (File::matches(raw, filter))
            File::fill(raw, list[stored++]);
    }
}

template<typename File>
int listQuery(const LString &path, const Filter &filter, LVector<typename File::Record> &list)
{
    return guarded([&] {
        LIStream in(path);
        std::uint32_t count = 0;
        if (in.bad() || countMatches<File>(in, filter, count) != 0 || in.rewind() != 0)
            return -1;
        list.resize(count);
        fillMatches<File>(in, filter, list);
        return 0;
    });
}

template<typename File>
int lookup(const LString &path, std::uint32_t id, typename File::Record &record)
{
    return guarded([&] {
        LIStream in(path);
        RawRecord raw;
        while (in.good() && !in.eof()) {
            if (!readRecord(in, File::ids, raw))
                return -1;
            if (raw.ids[0] == id) {
                File::fill(raw, record);
                return 0;
            }
        }
        return -1;
    });
}

} // namespace

WLocationDB::WLocationDB() = default;

WLocationDB::WLocationDB(const LString &directory)
    : m_directory(directory)
{
}

WLocationDB::WLocationDB(const WLocationDB &other)
    : m_directory(other.m_directory)
    , m_cityFilter(other.m_cityFilter)
{
}

WLocationDB &WLocationDB::operator=(const WLocationDB &other)
{
    if (this != &other) {
        closeStateIterator();
        m_directory = other.m_directory;
        m_cityFilter = other.m_cityFilter;
    }
    return *this;
}

WLocationDB::~WLocationDB()
{
    closeStateIterator();
}

void WLocationDB::initLocationDB(const LString &directory)
{
    closeLocationDB();
    p_locDB = new (std::nothrow) WLocationDB(directory);
    if (!p_locDB)
        throw LEx(L_MEM);
}

void WLocationDB::closeLocationDB()
{
    delete p_locDB;
    p_locDB = nullptr;
}

void WLocationDB::getFileName(const LString &directory, const char *fileName, LString &path)
{
    path = directory;
    if (!directory.isEmpty())
        path += "/";
    path += fileName;
}

LString WLocationDB::path(const char *fileName) const
{
    LString result;
    getFileName(m_directory, fileName, result);
    return result;
}

int WLocationDB::getCountryList(LVector<WCountry> &list) const
{
    return listQuery<CountryFile>(path(CountryFile::name), Filter{}, list);
}

int WLocationDB::getStateList(std::uint32_t countryId, LVector<WState> &list) const
{
    return listQuery<StateFile>(path(StateFile::name), Filter{countryId, 0}, list);
}

int WLocationDB::getAreaList(std::uint32_t countryId, std::uint32_t stateId, LVector<WArea> &list) const
{
    return listQuery<AreaFile>(path(AreaFile::name), Filter{countryId, stateId}, list);
}

int WLocationDB::getCityList(std::uint32_t countryId, std::uint32_t stateId, LVector<WCity> &list) const
{
    return listQuery<CityFile>(path(CityFile::name), Filter{countryId, stateId}, list);
}

int WLocationDB::getCountry(std::uint32_t id, WCountry &country) const
{
    return lookup<CountryFile>(path(CountryFile::name), id, country);
}

int WLocationDB::getState(std::uint32_t id, WState &state) const
{
    return lookup<StateFile>(path(StateFile::name), id, state);
}

int WLocationDB::getArea(std::uint32_t id, WArea &area) const
{
    return lookup<AreaFile>(path(AreaFile::name), id, area);
}

int WLocationDB::getCity(std::uint32_t id, WCity &city) const
{
    return lookup<CityFile>(path(CityFile::name), id, city);
}

int WLocationDB::openIterator(const char *fileName)
{
    closeStateIterator();
    return guarded([&] {
        m_iterator = new LIStream(path(fileName));
        if (m_iterator->good())
            return 0;
        closeStateIterator();
        return -1;
    });
}

int WLocationDB::initStateIterator(std::uint32_t)
{
    return openIterator(StateFile::name);
}

int WLocationDB::getNextState(WState &state)
{
    return guarded([&] {
        RawRecord raw;
        if (!m_iterator || m_iterator->eof())
            return -1;
        if (!readRecord(*m_iterator, StateFile::ids, raw)) {
            closeStateIterator();
            return -1;
        }
        StateFile::fill(raw, state);
        return 0;
    });
}

int WLocationDB::initCityIterator(std::uint32_t, std::uint32_t stateId)
{
    m_cityFilter = stateId;
    return openIterator(CityFile::name);
}

int WLocationDB::getNextCity(WCity &city)
{
    return guarded([&] {
        RawRecord raw;
        while (m_iterator && !m_iterator->eof()) {
            if (!readRecord(*m_iterator, CityFile::ids, raw)) {
                closeStateIterator();
                return -1;
            }
            if (raw.ids[2] == m_cityFilter) {
                CityFile::fill(raw, city);
                return 0;
            }
        }
        return -1;
    });
}

void WLocationDB::closeStateIterator()
{
    delete m_iterator;
    m_iterator = nullptr;
}

void WLocationDB::closeCityIterator()
{
    closeStateIterator();
}

int WLocationDB::makeUSLocation(std::uint32_t stateId, std::uint32_t cityId, WLocation &location) const
{
    return guarded([&] {
        WCity city;
        WState state;
        if (getCity(cityId, city) != 0 || getState(stateId, state) != 0)
            return -1;
        LString name(city.getName());
        name += ", ";
        name += state.getName();
        name += ", United States";
        WLocation made;
        made.setCountry(UNITED_STATES);
        made.setState(stateId);
        made.setCity(cityId);
        made.setCityData(city.getData());
        made.setShortState(state.getData());
        made.setName(name);
        made.setValid(true);
        location = made;
        return 0;
    });
}

} // namespace meteo
