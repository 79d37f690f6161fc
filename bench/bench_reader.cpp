#include "corekit/lstring.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wlocation.h"
#include "meteo/reader/wjson_p.h"
#include "meteo/reader/wreader.h"
#include "meteo/reader/wzonescanner_p.h"
#include "tests/support/httpserver.h"
#include "tests/support/memorykeeper.h"
#include "tests/support/tempdir.h"

#include <benchmark/benchmark.h>

#include <string>
#include <sys/resource.h>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

std::string zoneForecasts()
{
    return nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/products/ZFP.txt");
}

// The real zone forecast product repeated up to the size, in <PRE> blocks with CRLF line ends.
std::string productPage(std::size_t size)
{
    std::string product;
    for (const char c : zoneForecasts()) {
        if (c == '\n')
            product += '\r';
        product += c;
    }
    std::string page = "<HTML>\r\n<BODY>\r\n";
    while (page.size() < size)
        page += "<PRE>\r\n" + product + "</PRE><BR>\r\n";
    return page + "</BODY>\r\n</HTML>\r\n";
}

// The page as the page reader hands it out: lines with their line feeds, carriage returns dropped.
std::vector<LString> pageLines(const std::string &page)
{
    std::vector<LString> lines;
    std::string line;
    for (const char c : page) {
        if (c == '\r')
            continue;
        line += c;
        if (c == '\n') {
            lines.emplace_back(line.c_str());
            line.clear();
        }
    }
    return lines;
}

// Every copy of the product holds one message for the zone, so the scanner keeps a message from each.
void zoneScannerMegabyte(benchmark::State &state)
{
    const std::vector<LString> lines = pageLines(productPage(1024 * 1024));
    for (auto _ : state) {
        WZoneScanner scanner("NDZ009", false);
        for (const LString &line : lines)
            scanner.feed(line);
        benchmark::DoNotOptimize(scanner.isEmpty());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 1024 * 1024);
}
BENCHMARK(zoneScannerMegabyte)->Unit(benchmark::kMillisecond);

class LoopbackReader
{
public:
    explicit LoopbackReader(const std::string &page)
    {
        nimbreltest::clearProxyEnvironment();
        m_server.page("/iwin/nd/zone.html", page);
        m_server.page("/iwin/nd/allwarnings.html", page);
        m_server.page("/weather/current/KJFK.html",
            nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/conditions/KJFK.html"));
        m_reader.SetKeeper(&m_keeper);
        m_keeper.SetInt("Internet", "ProductSource", 0, false);
        m_keeper.SetString("Internet", "WarningsBase", m_server.url("/iwin/").c_str(), false);
        m_keeper.SetString("Internet", "ConditionsBase", m_server.url("/weather/current/").c_str(), false);
        m_location.setShortState("nd");
    }

    WReader &reader() { return m_reader; }
    WLocation &location() { return m_location; }

private:
    nimbreltest::HttpServer m_server;
    nimbreltest::MemoryKeeper m_keeper;
    WReader m_reader;
    WLocation m_location;
};

// The forecast for a zone whose only message closes the page, so that the whole page is scanned.
void getForecast200KB(benchmark::State &state)
{
    LoopbackReader loopback(
        productPage(200 * 1024) + "<PRE>\r\nNDZ099-092130-\r\nTHE LAST MESSAGE\r\n$$\r\n</PRE>\r\n");
    loopback.location().setCityData("acode(KBIS)azone(NDZ099)");
    LString text;
    for (auto _ : state) {
        if (loopback.reader().getForecast(loopback.location(), text) != L_OK)
            state.SkipWithError("getForecast failed");
    }
}
BENCHMARK(getForecast200KB)->Unit(benchmark::kMillisecond);

// A 16 MB page whose lines are all kept: the text must grow in linear time.
void getWarningsKeepingSixteenMegabytes(benchmark::State &state)
{
    std::string page = "<PRE>\r\nNDZ001-092130-\r\n";
    const std::string line = "RAIN AND SNOW LIKELY. HIGHS IN THE MID 30S. NORTH WINDS 10 TO 15 MPH.\r\n";
    while (page.size() + line.size() <= 16 * 1024 * 1024)
        page += line;
    LoopbackReader loopback(page);
    loopback.location().setCityData("azone(NDZ001)");
    LString text;
    for (auto _ : state) {
        if (loopback.reader().getWarnings(loopback.location(), text) != L_OK)
            state.SkipWithError("getWarnings failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(getWarningsKeepingSixteenMegabytes)->Unit(benchmark::kMillisecond)->Iterations(3);

// A real-sized current-conditions page, fetched and decoded.
void getConditionRealPage(benchmark::State &state)
{
    LoopbackReader loopback("");
    loopback.location().setCityData("acode(KJFK)azone(NYZ178)");
    WCondition condition;
    for (auto _ : state) {
        if (loopback.reader().getCondition(loopback.location(), condition) != L_OK)
            state.SkipWithError("getCondition failed");
    }
}
BENCHMARK(getConditionRealPage)->Unit(benchmark::kMillisecond);

// The process's peak resident memory so far, in megabytes.
double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Hostile answers of the web service, of the size in bytes: 0 nested arrays ("[[[[...]]]]"), 1 a list of empty
// objects, 2 as many empty alerts as an answer may hold values ({"features": [{},{},...]}), the costliest answer
// that is parsed. Parsed whole, each would cost some forty times its size. Run one case alone
// (--benchmark_filter=hostileAlerts/0/16777216/) to read its own peak: peak_MB is the process's, with the server's
// copies of the answer; reader_MB what the fetch and the parse added to it.
void hostileAlerts(benchmark::State &state)
{
    const auto size = static_cast<std::size_t>(state.range(1));
    const int shape = static_cast<int>(state.range(0));
    std::string answer = shape == 0 ? std::string(size / 2, '[') + std::string(size / 2, ']')
                                    : (shape == 1 ? "[{}" : R"({"features": [{})");
    // Each further alert adds two values, a comma and an object.
    const std::size_t alerts = shape == 1 ? size : (MAX_JSON_VALUES - 3) / 2;
    for (std::size_t n = 0; shape != 0 && answer.size() + 5 < size && n < alerts; ++n)
        answer += ",{}";
    answer += shape == 0 ? "" : (shape == 1 ? "]" : "]}");
    nimbreltest::clearProxyEnvironment();
    nimbreltest::HttpServer server;
    server.page("/api/alerts/active/zone/NDZ001", answer);
    nimbreltest::MemoryKeeper keeper;
    WReader reader;
    reader.SetKeeper(&keeper);
    keeper.SetString("Internet", "ApiBase", server.url("/api/").c_str(), false);
    WLocation location;
    location.setCityData("azone(NDZ001)");
    LString text;
    const double before = peakMegabytes();
    for (auto _ : state) {
        if (reader.getWarnings(location, text) == L_OK)
            state.SkipWithError("a hostile answer was taken");
    }
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["reader_MB"] = peakMegabytes() - before;
}
BENCHMARK(hostileAlerts)
    ->ArgsProduct({{0, 1, 2}, {2 * 1024 * 1024 - 1, 16 * 1024 * 1024}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
