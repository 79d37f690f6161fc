// The program as a script runs it: a separate process, its output, its exit status, against a loopback server that
// serves a real observation page, a real zone forecast product and recorded alerts of the web service.
#include "meteo/reader/wdecodereport.h"
#include "settings/lplacecache.h"
#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"
#include "tests/support/alertanswers.h"
#include "tests/support/httpserver.h"
#include "tests/support/productpages.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace corekit;
using namespace settings;

namespace
{

using json = nlohmann::json;
using nimbreltest::HttpServer;
using nimbreltest::TempDir;

// Places of the location files: Atlantic Beach, NY reports at KJFK; Epping, ND lies in zone NDZ009 of the
// Bismarck forecast; Phoenix, AZ, where the recorded heat warning was in force.
const std::string ATLANTIC_BEACH = "36/3602968";
const std::string EPPING = "Epping, ND";
const std::string PHOENIX = "Phoenix, AZ";
const std::string PHOENIX_ALERTS = "/api/alerts/active?point=33.5722,-112.0901";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string data(const std::string &name)
{
    return TempDir::read(NIMBREL_TEST_DATA "/" + name);
}

// The shipped location files, to be damaged in the copy.
void copyLocationFiles(const TempDir &folder)
{
    for (const char *name : {"countries.ldt", "states.ldt", "areas.ldt", "cities.ldt", "zipcodes.ldt", "stations.ldt"})
        std::filesystem::copy_file(NIMBREL_SOURCE_DIR "/data/" + std::string(name), folder.file(name));
}

std::string quoted(const std::string &argument)
{
    std::string text = "'";
    for (const char c : argument)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

// Kennedy's page with its report put under Phoenix's station, as Phoenix's page would hold it.
std::string phoenixPage()
{
    std::string page = data("conditions/KJFK.html");
    page.replace(page.find("KJFK 121851Z"), 4, "KPHX");
    return page;
}

// The recorded alerts as if they were in force now.
std::string inForce(const std::string &answer)
{
    json alerts = json::parse(answer);
    for (auto &feature : alerts["features"])
        feature["properties"]["expires"] = "2999-01-01T00:00:00+00:00";
    return alerts.dump();
}

// The recorded heat warning moving as a storm does, with its motion fixed at the time given: "...storm...180DEG...
// 37KT..." (northward at 68.5 km/h) from half a degree (55.6 km) south of the place.
std::string withMotion(const std::string &answer, std::time_t fixed)
{
    std::tm utc{};
    gmtime_r(&fixed, &utc);
    char time[32];
    std::strftime(time, sizeof time, "%Y-%m-%dT%H:%M:%S-00:00", &utc);
    json alerts = json::parse(answer);
    alerts["features"][0]["properties"]["parameters"]["eventMotionDescription"]
        = json::array({std::string(time) + "...storm...180DEG...37KT...33.0722,-112.0901"});
    return alerts.dump();
}

class NimbrelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        server.page("/obs/KJFK.html", data("conditions/KJFK.html"));
        server.page("/obs/KPHX.html", phoenixPage());
        server.page("/iwin/nd/zone.html", data("products/ZFP.txt"));
        server.page(PHOENIX_ALERTS, inForce(data("live/alerts_active_point_33.25_-112.30_heat_aqa_2024.json")));
    }

    // Runs the program with the loopback server's addresses and the test's settings folder.
    Outcome run(const std::vector<std::string> &arguments, const std::string &input = "")
    {
        std::string command = environment + quoted(NIMBREL_PROGRAM) + " --settings-dir "
            + quoted(settings.path().string()) + " --conditions-base " + server.url("/obs/") + " --api-base "
            + server.url("/api/") + " --warnings-base " + server.url("/iwin/");
        for (const std::string &argument : arguments)
            command += ' ' + quoted(argument);
        const std::string in = standardInput.empty() ? "<" + quoted(files.write("in", input)) : standardInput;
        const std::string out = standardOutput.empty() ? ">" + quoted(files.file("out")) : standardOutput;
        command += ' ' + in + ' ' + out + " 2>" + quoted(files.file("err"));
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempDir::read(files.file("out")),
            TempDir::read(files.file("err"))};
    }

    HttpServer server;
    // Variables for the program, as "TZ=MST7 ".
    std::string environment;
    // Where standard input comes from, as the shell redirects it; the run's input when empty.
    std::string standardInput;
    // Where standard output goes, as the shell redirects it (">/dev/full"); the file read into Outcome::out when
    // empty.
    std::string standardOutput;
    TempDir settings;
    TempDir files;
};

TEST_F(NimbrelTest, nowFromTheObservationPage)
{
    const Outcome text = run({"now", ATLANTIC_BEACH, "--units", "us"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Atlantic Beach, NY\nStation:      KJFK\nObserved:     2"), std::string::npos) << text.out;
    // The recorded report is weeks old: its age is told in days, as the window tells it.
    EXPECT_NE(text.out.find(" days ago)\nTemperature:"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\nTemperature:  76 °F\nDew point:    54 °F\nWind:         S (180°) 12 mph\n"
                            "Pressure:     30.01 inHg\n"
                            "Conditions:   Few clouds 5,000 ft · Visibility 10 mi · Humidity 47%\n"),
        std::string::npos)
        << text.out;

    const Outcome metric = run({"now", "Atlantic Beach, ny", "--json", "--units", "metric"});
    ASSERT_EQ(metric.status, 0) << metric.err;
    const json now = json::parse(metric.out);
    EXPECT_EQ(now["place"]["id"], ATLANTIC_BEACH);
    EXPECT_EQ(now["station"], "KJFK");
    EXPECT_DOUBLE_EQ(now["temperature_c"].get<double>(), 24.4);
    EXPECT_DOUBLE_EQ(now["dew_point_c"].get<double>(), 12.2);
    EXPECT_DOUBLE_EQ(now["relative_humidity"].get<double>(), 46.5);
    EXPECT_DOUBLE_EQ(now["visibility_mi"].get<double>(), 10.0);
    EXPECT_EQ(now["sky"], json::parse(R"([{"cover": "FEW", "height_ft": 5000, "cloud": ""}])"));
    EXPECT_TRUE(now["ceiling_ft"].is_null());
    EXPECT_DOUBLE_EQ(now["pressure_inhg"].get<double>(), 30.01);
    EXPECT_EQ(now["wind_direction_deg"], 180);
    EXPECT_EQ(now["wind_speed_kt"], 10);
    EXPECT_TRUE(now["wind_gust_kt"].is_null());
    EXPECT_TRUE(now["age_minutes"].is_number());
    EXPECT_EQ(now["time"].get<std::string>().substr(13, 3), ":51") << now["time"];

    // Settings are read, never written.
    EXPECT_TRUE(std::filesystem::is_empty(settings.path()));
}

// Kennedy's report as another station's, made that many minutes ago.
std::string stationPage(const std::string &station, std::time_t minutesAgo)
{
    const std::time_t made = std::time(nullptr) - minutesAgo * 60;
    std::tm utc{};
    gmtime_r(&made, &utc);
    char stamp[8] = {};
    std::strftime(stamp, sizeof stamp, "%d%H%MZ", &utc);
    std::string page = data("conditions/KJFK.html");
    page.replace(page.find("KJFK 121851Z"), 12, station + ' ' + stamp);
    return page;
}

// Des Moines reports at KDSM; Ankeny's KIKV lies 14 km away.
TEST_F(NimbrelTest, nowFromANearbyStationWhileThePlacesStationIsQuiet)
{
    const std::string desMoines = "19/1921000";
    server.page("/obs/KDSM.html", "<HTML>Not here</HTML>", 404);
    server.page("/obs/KIKV.html", stationPage("KIKV", 10));
    const Outcome missing = run({"now", desMoines});
    ASSERT_EQ(missing.status, 0) << missing.err;
    EXPECT_NE(missing.out.find("\nStation:      KIKV (14 km away; KDSM has no report)\n"), std::string::npos)
        << missing.out;

    server.page("/obs/KDSM.html", stationPage("KDSM", 5 * 60));
    const Outcome quiet = run({"now", desMoines, "--json"});
    ASSERT_EQ(quiet.status, 0) << quiet.err;
    const json now = json::parse(quiet.out);
    EXPECT_EQ(now["station"], "KIKV");
    EXPECT_EQ(now["requested_station"], "KDSM");
    EXPECT_DOUBLE_EQ(now["station_distance_km"].get<double>(), 13.6);
    EXPECT_EQ(now["age_minutes"], 10);
    ASSERT_TRUE(now["requested_station_last_report"].is_string()) << quiet.out;

    // The place's own station reporting again, or the option turned off, leaves the nearby one out.
    server.page("/obs/KDSM.html", stationPage("KDSM", 20));
    const json own = json::parse(run({"now", desMoines, "--json"}).out);
    EXPECT_EQ(own["station"], "KDSM");
    EXPECT_EQ(own["requested_station"], "KDSM");
    EXPECT_TRUE(own["station_distance_km"].is_null());
    EXPECT_TRUE(own["requested_station_last_report"].is_null());

    server.page("/obs/KDSM.html", stationPage("KDSM", 5 * 60));
    LWinKeeper keeper("Nimbrel", settings.path().string());
    keeper.SetInt(LSettings::INTERNET, LSettings::USE_NEARBY_STATION, 0, false);
    const Outcome off = run({"now", desMoines});
    EXPECT_NE(off.out.find("\nStation:      KDSM\n"), std::string::npos) << off.out;
    EXPECT_EQ(server.requests().back().target, "/obs/KDSM.html");
}

TEST_F(NimbrelTest, thePlaceAndUnitsOfTheDesktopProgram)
{
    LWinKeeper keeper("Nimbrel", settings.path().string());
    keeper.SetInt(LSettings::LOCATION, LSettings::STATE, 36, false);
    keeper.SetInt(LSettings::LOCATION, LSettings::CITY, 3602968, false);
    keeper.SetInt(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, 0, false);
    keeper.SetInt(LSettings::GENERAL, LSettings::WIND_SPEED_SCALE, 1, false);
    keeper.SetInt(LSettings::GENERAL, LSettings::PRESSURE_SCALE, 2, false);
    const std::string before = TempDir::read(keeper.FilePath(false));
    const Outcome now = run({"now"});
    ASSERT_EQ(now.status, 0) << now.err;
    EXPECT_NE(now.out.find("Temperature:  24 °C\n"), std::string::npos) << now.out;
    EXPECT_NE(now.out.find("Wind:         S (180°) 19 km/h\nPressure:     1016 hPa\n"), std::string::npos) << now.out;
    EXPECT_EQ(TempDir::read(keeper.FilePath(false)), before);
}

TEST_F(NimbrelTest, forecastAndMessages)
{
    const Outcome forecast = run({"--source", "pages", "forecast", EPPING});
    ASSERT_EQ(forecast.status, 0) << forecast.err;
    EXPECT_EQ(forecast.out.rfind("WILLIAMS-\nINCLUDING THE CITIES OF...WILLISTON\n", 0), 0u) << forecast.out;
    EXPECT_EQ(forecast.out.find('\r'), std::string::npos);
    const Outcome forecastJson = run({"--source", "pages", "--json", "forecast", EPPING});
    EXPECT_EQ(json::parse(forecastJson.out)["forecast"], forecast.out);

    // Escape sequences that a server sends never reach the terminal; a byte that is not UTF-8 does not fail JSON.
    std::string zfp = data("products/ZFP.txt");
    zfp.insert(zfp.find("INCLUDING THE CITIES OF...WILLISTON"),
        "\x1b]0;title\x07\x1b[2J 75\xb0"
        "F");
    server.page("/iwin/nd/zone.html", zfp);
    const Outcome escaped = run({"--source", "pages", "forecast", EPPING});
    ASSERT_EQ(escaped.status, 0);
    EXPECT_EQ(escaped.out.find_first_of("\x1b\x07"), std::string::npos);
    const Outcome latin1 = run({"--source", "pages", "--json", "forecast", EPPING});
    ASSERT_EQ(latin1.status, 0) << latin1.err;
    EXPECT_NE(json::parse(latin1.out)["forecast"].get<std::string>().find("75\uFFFDF"), std::string::npos);

    const Outcome messages = run({"messages", PHOENIX, "--kinds", "watches,warnings", "--json"});
    ASSERT_EQ(messages.status, 0) << messages.err;
    const json list = json::parse(messages.out)["messages"];
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["kind"], "warnings");
    EXPECT_EQ(
        list[0]["text"].get<std::string>().rfind("EXCESSIVE HEAT WARNING - EXCESSIVE HEAT WARNING REMAINS", 0), 0u);

    // One kind that holds nothing.
    const Outcome watches = run({"messages", PHOENIX, "--kinds", "watches"});
    EXPECT_EQ(watches.status, 1);
    EXPECT_EQ(watches.out, "");
}

TEST_F(NimbrelTest, statusForABar)
{
    const Outcome warning = run({"status", PHOENIX, "--units", "us"});
    ASSERT_EQ(warning.status, 0) << warning.err;
    EXPECT_EQ(warning.out, "76°F ⚠ Excessive Heat Warning\n");

    const Outcome waybar = run({"status", PHOENIX, "--format", "waybar"});
    ASSERT_EQ(waybar.status, 0) << waybar.err;
    const json bar = json::parse(waybar.out);
    EXPECT_EQ(bar["class"], "warning");
    EXPECT_NE(bar["tooltip"].get<std::string>().find("Phoenix, AZ\nStation:      KPHX\n"), std::string::npos);

    // The recorded alerts as they were recorded: expired long ago, like the observation.
    server.page(PHOENIX_ALERTS, data("live/alerts_active_point_33.25_-112.30_heat_aqa_2024.json"));
    const json old = json::parse(run({"status", PHOENIX, "--format", "waybar", "--units", "metric"}).out);
    EXPECT_EQ(old["text"], "24°C");
    EXPECT_EQ(old["class"], "stale");
}

// A warning in force is shown whatever became of the observation, and one message kind that fails keeps none of
// the others from being printed.
TEST_F(NimbrelTest, eachPartIsFetchedApart)
{
    server.page("/obs/KPHX.html", "<HTML>Service Unavailable</HTML>", 503);
    const Outcome warning = run({"status", PHOENIX});
    EXPECT_EQ(warning.status, 0) << warning.err;
    EXPECT_EQ(warning.out, "-- ⚠ Excessive Heat Warning\n");
    EXPECT_NE(warning.err.find("cannot fetch the observation of KPHX"), std::string::npos) << warning.err;
    const json bar = json::parse(run({"status", PHOENIX, "--format", "waybar"}).out);
    EXPECT_EQ(bar["class"], "warning");
    EXPECT_NE(bar["tooltip"].get<std::string>().find("⚠ Excessive Heat Warning\ncannot fetch the observation"),
        std::string::npos)
        << bar["tooltip"];
    const json object = json::parse(run({"status", PHOENIX, "--json"}).out);
    EXPECT_EQ(object["warning"], "Excessive Heat Warning");
    EXPECT_TRUE(object["observation"].is_null());

    // The alerts fail: the temperature stands, and the class says that a warning may be missing.
    server.page("/obs/KPHX.html", phoenixPage());
    server.page(PHOENIX_ALERTS, "<HTML>Service Unavailable</HTML>", 503);
    const Outcome noAlerts = run({"status", PHOENIX, "--format", "waybar", "--units", "us"});
    EXPECT_EQ(noAlerts.status, 0);
    const json temperature = json::parse(noAlerts.out);
    EXPECT_EQ(temperature["text"], "76°F");
    EXPECT_EQ(temperature["class"], "error");
    EXPECT_NE(temperature["tooltip"].get<std::string>().find("cannot fetch the alerts"), std::string::npos);

    // Nothing at all.
    server.page("/obs/KPHX.html", "<HTML>Service Unavailable</HTML>", 503);
    const Outcome nothing = run({"status", PHOENIX, "--format", "waybar"});
    EXPECT_EQ(nothing.status, 3);
    EXPECT_EQ(json::parse(nothing.out)["class"], "error");
    EXPECT_EQ(run({"status", PHOENIX}).out, "");

    // The Des Moines summary under a header that names Epping's station; the discussion before it fails.
    std::string summary = nimbreltest::productFile("RWS.txt");
    summary.replace(summary.find("AWUS83 KDMX"), 11, "ABUS83 KXWA");
    server.page("/iwin/nd/summary.html", nimbreltest::productPage({summary}));
    server.page("/iwin/nd/discussion.html", "<HTML>Service Unavailable</HTML>", 503);
    const Outcome messages = run({"--source", "pages", "messages", EPPING, "--kinds", "discussion,summary"});
    EXPECT_EQ(messages.status, 3);
    EXPECT_EQ(messages.out.rfind("== Weather summary ==\nRWSDMX\n", 0), 0u) << messages.out;
    EXPECT_NE(messages.err.find("discussion"), std::string::npos) << messages.err;
    const json list
        = json::parse(run({"--source", "pages", "--json", "messages", EPPING, "--kinds", "discussion,summary"}).out);
    ASSERT_EQ(list["messages"].size(), 1u);
    EXPECT_EQ(list["messages"][0]["kind"], "summary");
    EXPECT_EQ(list["failed"], json::array({"discussion"}));
}

// A failed fetch names its reason: no connection, a missing answer, the service's own title of its problem.
TEST_F(NimbrelTest, failuresNameTheirReason)
{
    const std::vector<std::string> warnings = {"messages", PHOENIX, "--kinds", "warnings"};
    std::vector<std::string> refused = warnings;
    refused.insert(refused.begin(), {"--api-base", "http://127.0.0.1:1/"});
    const Outcome down = run(refused);
    EXPECT_EQ(down.status, 3);
    EXPECT_EQ(down.err.rfind("nimbrel: cannot fetch the warnings: cannot connect to the server (", 0), 0u) << down.err;

    server.page(PHOENIX_ALERTS, "<HTML>Not Found</HTML>", 404);
    const Outcome missing = run(warnings);
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(missing.err, "nimbrel: cannot fetch the warnings: not found (404)\n");

    server.page(PHOENIX_ALERTS,
        R"({"correlationId": "1b2c", "title": "Unexpected\u001b[2J Problem", "type": )"
        R"("https://api.weather.gov/problems/UnexpectedProblem", "status": 500, "detail": "An unexpected problem"})",
        500);
    const Outcome problem = run(warnings);
    EXPECT_EQ(problem.status, 3);
    EXPECT_EQ(problem.err, "nimbrel: cannot fetch the warnings: the server reports \"Unexpected [2J Problem\" (500)\n");
}

TEST_F(NimbrelTest, alertsAsRecords)
{
    environment = "TZ=MST7 ";
    const Outcome text = run({"alerts", PHOENIX});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.rfind("Excessive Heat Warning\nSeverity:     Severe\nHeadline:     Excessive Heat Warning "
                             "issued July 18 at 12:47PM MST until July 20 at 8:00PM MST by NWS Phoenix AZ\n"
                             "Issued:       2024-07-18 12:47 MST\nExpires:      2998-12-31 17:00 MST\n\n"
                             "Air Quality Alert\n",
                  0),
        0u)
        << text.out;

    const Outcome records = run({"alerts", PHOENIX, "--json"});
    ASSERT_EQ(records.status, 0) << records.err;
    const json alerts = json::parse(records.out)["alerts"];
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0]["id"], "urn:oid:2.49.0.1.840.0.505a7220d91b00eb1d75a3fb4f339f825496a522.004.1");
    EXPECT_EQ(alerts[0]["references"],
        json::array({"urn:oid:2.49.0.1.840.0.2852349b8f25500975c692db29cb2f047ff20a7c.004.2"}));
    EXPECT_EQ(alerts[0]["kind"], "warnings");
    EXPECT_EQ(alerts[0]["urgency"], "Expected");
    EXPECT_EQ(alerts[0]["certainty"], "Likely");
    EXPECT_EQ(alerts[0]["message_type"], "Update");
    EXPECT_EQ(alerts[0]["sent"], "2024-07-18T12:47:00-07:00");
    EXPECT_EQ(alerts[0]["ends"], "2024-07-20T20:00:00-07:00");
    EXPECT_EQ(alerts[1]["event"], "Air Quality Alert");
    EXPECT_EQ(alerts[1]["severity"], "Unknown");
    EXPECT_TRUE(alerts[1]["ends"].is_null());

    // The warnings ticker holds the air quality alert, but the tray marks only warnings, and so does the status.
    json airQuality = json::parse(inForce(data("live/alerts_active_point_33.25_-112.30_heat_aqa_2024.json")));
    airQuality["features"].erase(0);
    server.page(PHOENIX_ALERTS, airQuality.dump());
    EXPECT_EQ(run({"status", PHOENIX, "--units", "us"}).out, "76°F\n");

    // The recorded alerts as they were recorded: none in force.
    server.page(PHOENIX_ALERTS, data("live/alerts_active_point_33.25_-112.30_heat_aqa_2024.json"));
    const Outcome none = run({"alerts", PHOENIX, "--json"});
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(json::parse(none.out)["alerts"], json::array());
    EXPECT_EQ(run({"alerts", PHOENIX}).out, "");

    server.page(PHOENIX_ALERTS, "<HTML>Service Unavailable</HTML>", 503);
    EXPECT_EQ(run({"alerts", PHOENIX}).status, 3);
}

// Five minutes after its fix the storm has come 5.7 km north: 49.9 km (31 mi) south of the place, over it in 44
// minutes. Three hours after, its motion is no ground for an estimate.
TEST_F(NimbrelTest, alertsWithTheStormsApproach)
{
    environment = "TZ=MST7 ";
    const std::string recorded = inForce(data("live/alerts_active_point_33.25_-112.30_heat_aqa_2024.json"));
    const std::time_t fixed = std::time(nullptr) - 300;
    server.page(PHOENIX_ALERTS, withMotion(recorded, fixed));
    const Outcome text = run({"alerts", PHOENIX, "--units", "us"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(
        text.out.find("\nStorm:        Storm 31 mi S of you, moving N at 43 mph; over you about "), std::string::npos)
        << text.out;

    const Outcome records = run({"alerts", PHOENIX, "--json"});
    ASSERT_EQ(records.status, 0) << records.err;
    const json alerts = json::parse(records.out)["alerts"];
    ASSERT_EQ(alerts.size(), 2u);
    const json &motion = alerts[0]["motion"];
    ASSERT_TRUE(motion.is_object()) << records.out;
    EXPECT_EQ(motion["time"].get<std::string>().substr(19), "-07:00") << motion;
    EXPECT_EQ(motion["from_deg"], 180);
    EXPECT_EQ(motion["speed_kt"], 37);
    EXPECT_EQ(motion["points"], json::parse("[[33.0722, -112.0901]]"));
    const json &approach = alerts[0]["approach"];
    EXPECT_NEAR(approach["distance_km"].get<double>(), 49.9, 0.3) << approach;
    EXPECT_EQ(approach["bearing_deg"], 180);
    EXPECT_EQ(approach["closest_km"], 0.0);
    EXPECT_EQ(approach["moving_away"], false);
    EXPECT_EQ(approach["closest_time"].get<std::string>().substr(19), "-07:00");
    EXPECT_TRUE(alerts[1]["motion"].is_null());
    EXPECT_TRUE(alerts[1]["approach"].is_null());

    server.page(PHOENIX_ALERTS, withMotion(recorded, fixed - 3 * 3600));
    const json stale = json::parse(run({"alerts", PHOENIX, "--json"}).out)["alerts"][0];
    EXPECT_EQ(stale["motion"]["speed_kt"], 37);
    EXPECT_TRUE(stale["approach"].is_null());
    EXPECT_EQ(run({"alerts", PHOENIX}).out.find("Storm:"), std::string::npos);
}

TEST_F(NimbrelTest, decodeReportsOfStandardInput)
{
    const std::string reports = data("metar/reports-sample.txt") + "not a report\n";
    const Outcome decoded = run({"decode", "--json", "-"}, reports);
    ASSERT_EQ(decoded.status, 0) << decoded.err;
    std::istringstream lines(decoded.out);
    std::vector<json> objects;
    for (std::string line; std::getline(lines, line);)
        objects.push_back(json::parse(line));
    ASSERT_EQ(objects.size(), 401u);
    EXPECT_EQ(objects[0]["report"], "KSTF 262135Z AUTO 06006KT 10SM SCT070 28/16 A3007 RMK AO2");
    EXPECT_EQ(objects[0]["station"], "KSTF");
    EXPECT_EQ(objects[0]["time"].get<std::string>().substr(7), "-26T21:35:00Z");
    EXPECT_DOUBLE_EQ(objects[0]["temperature_c"].get<double>(), 28.0);
    EXPECT_EQ(objects[0]["wind_direction_deg"], 60);
    // 'KLUX ... 7SM RA OVC016 20/20': the weather and the sky as the window words them.
    EXPECT_EQ(objects[2]["weather"][0]["text"], "rain");
    EXPECT_EQ(objects[2]["ceiling_ft"], 1600);
    // 'KIMM ... 23/ A2996': a temperature without its dew point.
    EXPECT_TRUE(objects[4]["dew_point_c"].is_null());
    EXPECT_TRUE(objects[4]["relative_humidity"].is_null());
    EXPECT_EQ(objects[400]["error"].is_string(), true);

    const Outcome one = run({"decode", "KJFK 121851Z VRB03G15KT 10SM M02/M05 A3001", "--units", "metric"});
    EXPECT_EQ(one.status, 0);
    EXPECT_NE(one.out.find("Wind:         variable 6 km/h, gusts 28 km/h\n"), std::string::npos) << one.out;
    EXPECT_EQ(run({"decode", "KXYZ 121851Z NIL"}).status, 4);
}

// A line far longer than any report is passed over as it is read, never held: the memory stays what a few
// reports take.
TEST_F(NimbrelTest, decodePassesOverLinesTooLongForAReport)
{
    // Written a megabyte at a time: the shell that starts the program takes this process's peak memory as its own.
    const std::string report = "KJFK 121851Z VRB03G15KT 10SM M02/M05 A3001\n";
    std::ofstream input(files.file("long"), std::ios::binary);
    input << report;
    const std::string megabyte(1 << 20, 'A');
    for (int i = 0; i < 100; ++i)
        input << megabyte;
    input << '\n' << report << std::string(70000, 'B');
    input.close();
    standardInput = "<" + quoted(files.file("long"));
    const Outcome decoded = run({"decode", "--json", "-"});
    EXPECT_EQ(decoded.status, 0) << decoded.err;
    EXPECT_EQ(std::count(decoded.out.begin(), decoded.out.end(), '\n'), 2) << decoded.out.substr(0, 300);
    EXPECT_NE(decoded.err.find("line 2 is longer than 64 KB"), std::string::npos) << decoded.err.substr(0, 300);
    EXPECT_NE(decoded.err.find("line 4 is longer than 64 KB"), std::string::npos) << decoded.err.substr(0, 300);
    rusage usage{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
    constexpr long KILOBYTES_PER_MEGABYTE = 1024;
    EXPECT_LT(usage.ru_maxrss, 96 * KILOBYTES_PER_MEGABYTE);
}

// Output lost to a full disk or a closed standard output fails the command, with the reason.
TEST_F(NimbrelTest, outputThatCannotBeWritten)
{
    standardOutput = ">/dev/full";
    const Outcome full = run({"places", "springfield, il"});
    EXPECT_EQ(full.status, 6);
    EXPECT_NE(full.err.find("cannot write to standard output (No space left on device)"), std::string::npos)
        << full.err;
    EXPECT_EQ(run({"decode", "-"}, data("metar/reports-sample.txt")).status, 6);
    EXPECT_EQ(run({"--version"}).status, 6);

    standardOutput = ">&-";
    const Outcome closed = run({"decode", "KJFK 121851Z VRB03G15KT 10SM M02/M05 A3001"});
    EXPECT_EQ(closed.status, 6);
    EXPECT_NE(closed.err.find("cannot write to standard output (it is closed)"), std::string::npos) << closed.err;
}

TEST_F(NimbrelTest, exitStatusOfEachFailure)
{
    const Outcome ambiguous = run({"now", "Phoenix"});
    EXPECT_EQ(ambiguous.status, 2);
    EXPECT_NE(ambiguous.err.find("\n  4/455000  Phoenix, AZ\n"), std::string::npos) << ambiguous.err;
    EXPECT_EQ(run({"now", "Nowhere At All, IA"}).status, 2);
    EXPECT_EQ(run({"now", "--units", "kelvin", ATLANTIC_BEACH}).status, 2);
    EXPECT_EQ(run({"weather"}).status, 2);

    const Outcome down = run({"now", ATLANTIC_BEACH, "--conditions-base", "http://127.0.0.1:1/"});
    EXPECT_EQ(down.status, 3);
    EXPECT_EQ(std::count(down.err.begin(), down.err.end(), '\n'), 1) << down.err;

    server.page("/obs/KJFK.html", "<HTML><BODY>No current observation</BODY></HTML>\n");
    EXPECT_EQ(run({"now", ATLANTIC_BEACH}).status, 4);

    // Arizona's product page is missing, then it holds North Dakota's zones only.
    EXPECT_EQ(run({"--source", "pages", "forecast", "Phoenix, AZ"}).status, 3);
    server.page("/iwin/az/zone.html", data("products/ZFP.txt"));
    EXPECT_EQ(run({"--source", "pages", "forecast", "Phoenix, AZ"}).status, 1);

    // Location files cut short: the states, then the cities, in the record before New York's first.
    TempDir damaged;
    for (const char *name : {"countries.ldt", "areas.ldt", "cities.ldt", "zipcodes.ldt", "stations.ldt"})
        std::filesystem::copy_file(NIMBREL_SOURCE_DIR "/data/" + std::string(name), damaged.file(name));
    damaged.write("states.ldt", "1,1,\"Alabama\",\"al\"\n,2,1,\"Alas");
    EXPECT_EQ(run({"now", ATLANTIC_BEACH, "--data-dir", damaged.path().string()}).status, 5);
    std::filesystem::copy_file(NIMBREL_SOURCE_DIR "/data/states.ldt", damaged.file("states.ldt"),
        std::filesystem::copy_options::overwrite_existing);
    const std::string cities = data("../../data/cities.ldt");
    damaged.write("cities.ldt", cities.substr(0, cities.find("\"Albertson\"")));
    EXPECT_EQ(run({"now", ATLANTIC_BEACH, "--data-dir", damaged.path().string()}).status, 5);
}

// What stands in place of a location file is named with the file, without the program waiting on a FIFO.
TEST_F(NimbrelTest, locationFilesThatAreNoRegularFiles)
{
    TempDir folder;
    copyLocationFiles(folder);
    const std::string directory = folder.path().string();
    const std::string cities = TempDir::read(folder.file("cities.ldt"));

    std::filesystem::remove(folder.file("cities.ldt"));
    ASSERT_EQ(mkfifo(folder.file("cities.ldt").c_str(), 0600), 0);
    const Outcome fifo = run({"places", "des moines", "--data-dir", directory});
    EXPECT_EQ(fifo.status, 5);
    EXPECT_NE(fifo.err.find("the location file cities.ldt in " + directory + " is a FIFO, not a regular file"),
        std::string::npos)
        << fifo.err;
    std::filesystem::remove(folder.file("cities.ldt"));
    folder.write("cities.ldt", cities);

    std::filesystem::remove(folder.file("zipcodes.ldt"));
    std::filesystem::create_directory(folder.file("zipcodes.ldt"));
    const Outcome zipFolder = run({"places", "des moines", "--data-dir", directory});
    EXPECT_EQ(zipFolder.status, 5);
    EXPECT_NE(zipFolder.err.find("zipcodes.ldt is a folder, not a regular file"), std::string::npos) << zipFolder.err;
}

// A NUL byte in a name or a state's code is damage, not the end of the text.
TEST_F(NimbrelTest, nulBytesInLocationFilesAreDamage)
{
    TempDir folder;
    copyLocationFiles(folder);
    const std::string directory = folder.path().string();
    const std::string states = TempDir::read(folder.file("states.ldt"));
    const std::string cities = TempDir::read(folder.file("cities.ldt"));

    // Iowa's code "ia" would read as "i"; Des Moines as "Des".
    std::string nulInState = states;
    nulInState.replace(nulInState.find("\"Iowa\",\"ia\""), 11, std::string("\"Iowa\",\"i\0a\"", 12));
    folder.write("states.ldt", nulInState);
    const Outcome state = run({"places", "des moines", "--data-dir", directory});
    EXPECT_EQ(state.status, 5);
    EXPECT_NE(state.err.find("states.ldt"), std::string::npos) << state.err;
    folder.write("states.ldt", states);
    std::string nulInCity = cities;
    nulInCity.replace(nulInCity.find("\"Des Moines\""), 12, std::string("\"Des\0Moines\"", 12));
    folder.write("cities.ldt", nulInCity);
    const Outcome city = run({"places", "des moines", "--data-dir", directory});
    EXPECT_EQ(city.status, 5);
    EXPECT_NE(city.err.find("cannot read cities.ldt"), std::string::npos) << city.err;
}

TEST_F(NimbrelTest, damagedSettings)
{
    // A damaged line is passed over, as the window passes over it, and reported.
    LWinKeeper keeper("Nimbrel", settings.path().string());
    keeper.SetInt(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, 1, false);
    const std::string file = keeper.FilePath(false);
    settings.write("Nimbrel.conf", TempDir::read(file) + "[General\nPressureScale=int:");
    const Outcome lines = run({"now", ATLANTIC_BEACH});
    EXPECT_EQ(lines.status, 0);
    EXPECT_NE(lines.out.find("Temperature:  76 °F\n"), std::string::npos) << lines.out;
    EXPECT_NE(lines.err.find("has damaged lines"), std::string::npos) << lines.err;

    // A file that cannot be read leaves every setting unknown.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    const Outcome unreadable = run({"now", ATLANTIC_BEACH});
    EXPECT_EQ(unreadable.status, 5);
    EXPECT_NE(unreadable.err.find("Nimbrel.conf"), std::string::npos);
    EXPECT_EQ(std::count(unreadable.err.begin(), unreadable.err.end(), '\n'), 1) << unreadable.err;
}

// --cached prints what the desktop program kept, with its age, and asks the servers nothing; without it nothing
// kept is read.
TEST_F(NimbrelTest, cachedValuesWithoutARequest)
{
    const Outcome none = run({"now", ATLANTIC_BEACH, "--cached"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no values are kept for Atlantic Beach, NY"), std::string::npos) << none.err;

    const std::int64_t now = std::time(nullptr);
    LPlaceCacheRecord record;
    record.state = 36;
    record.city = 3602968;
    record.written = now - 3 * 3600;
    meteo::WCondition condition;
    ASSERT_EQ(
        meteo::decodeReport("KJFK 121851Z 18010KT 10SM FEW050 24/12 A3001 RMK AO2 SLP162 T02440122", condition, now),
        corekit::L_OK);
    record.condition = condition;
    record.forecast = LCachedText{".TODAY...SNOW. HIGHS AROUND 30.\r\n", now - 4 * 3600};
    meteo::WAlertRecord alert;
    alert.id = "urn:kept.heat";
    alert.event = "Excessive Heat Warning";
    alert.headline = "Excessive Heat Warning in force";
    alert.expires = now + 3600;
    meteo::WAlertRecord over = alert;
    over.id = "urn:kept.over";
    over.event = "Dust Storm Warning";
    over.expires = now - 60;
    record.alerts = {alert, over};
    std::string reason;
    ASSERT_EQ(LPlaceCache(LPlaceCache::directoryFor(settings.path().string())).save(record, reason), 0) << reason;

    const Outcome text = run({"now", ATLANTIC_BEACH, "--cached", "--units", "us"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.rfind("Atlantic Beach, NY\nKept ", 0), 0u) << text.out;
    EXPECT_NE(text.out.find(" (3 hours ago)\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Temperature:  76 °F\n"), std::string::npos) << text.out;
    const json forecast = json::parse(run({"forecast", ATLANTIC_BEACH, "--cached", "--json"}).out);
    EXPECT_EQ(forecast["forecast"], ".TODAY...SNOW. HIGHS AROUND 30.\n");
    EXPECT_EQ(forecast["kept"]["age_minutes"], 240);
    const Outcome alerts = run({"alerts", ATLANTIC_BEACH, "--cached"});
    ASSERT_EQ(alerts.status, 0) << alerts.err;
    EXPECT_NE(alerts.out.find("Excessive Heat Warning"), std::string::npos) << alerts.out;
    EXPECT_EQ(alerts.out.find("Dust Storm Warning"), std::string::npos) << alerts.out;
    EXPECT_EQ(run({"messages", ATLANTIC_BEACH, "--cached"}).status, 1);
    EXPECT_TRUE(server.requests().empty());

    const Outcome fetched = run({"now", ATLANTIC_BEACH});
    ASSERT_EQ(fetched.status, 0) << fetched.err;
    EXPECT_EQ(fetched.out.find("Kept "), std::string::npos);
    EXPECT_EQ(run({"status", "--cached"}).status, 2);
}

TEST_F(NimbrelTest, placesAndTheHelpOfTheManual)
{
    const Outcome places = run({"places", "springfield, il"});
    ASSERT_EQ(places.status, 0);
    EXPECT_EQ(places.out.rfind("17/1772000\tSpringfield, IL\n", 0), 0u) << places.out;
    const json found = json::parse(run({"places", "--json", "des moines"}).out)["places"];
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ(found[0]["name"], "Des Moines");
    EXPECT_EQ(run({"places", "qqqxz"}).status, 1);
    const json zip = json::parse(run({"places", "--json", "50309"}).out)["places"];
    ASSERT_EQ(zip.size(), 1u);
    EXPECT_EQ(zip[0]["id"], "19/1921000");
    EXPECT_EQ(zip[0]["match"], "zip_code");

    const Outcome help = run({"--help"});
    const std::string manual = TempDir::read(NIMBREL_SOURCE_DIR "/docs/man/nimbrel.1");
    std::istringstream words(help.out);
    int options = 0;
    for (std::string word; words >> word;) {
        if (word.rfind("--", 0) != 0)
            continue;
        ++options;
        std::string escaped;
        for (const char c : word)
            escaped += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_NE(manual.find(escaped), std::string::npos) << word << " is not in the manual";
    }
    EXPECT_GE(options, 12);
}

// Bismarck's page: Kennedy's report under Bismarck's station, made winter: -21.1 °C.
std::string bismarckPage()
{
    std::string page = data("conditions/KJFK.html");
    page.replace(page.find("KJFK 121851Z"), 4, "KBIS");
    page.replace(page.find(" 24/12 "), 7, " M21/M26 ");
    page.replace(page.find("T02440122"), 9, "T12111256");
    return page;
}

// The places saved in the desktop program: numbered in their order, each status line fetched for its own place.
// A damaged entry and a place the location files no longer hold are left out and said.
TEST_F(NimbrelTest, savedPlaces)
{
    LWinKeeper keeper("Nimbrel", settings.path().string());
    keeper.SetInt(LSettings::LOCATION, LSettings::STATE, 38, false);
    keeper.SetInt(LSettings::LOCATION, LSettings::CITY, 3807200, false);
    keeper.SetString("Places", "List", "19/1921000;19/x;38/3807200;19/1999999", false);
    std::string desMoines = data("conditions/KJFK.html");
    server.page("/obs/KDSM.html", desMoines.replace(desMoines.find("KJFK 121851Z"), 4, "KDSM"));
    server.page("/obs/KBIS.html", bismarckPage());
    server.page("/api/alerts/active?point=41.5726,-93.6102", R"({"type": "FeatureCollection", "features": []})");
    server.page("/api/alerts/active?point=46.8146,-100.7701",
        inForce(data("live/alerts_active_point_33.25_-112.30_heat_aqa_2024.json")));

    const Outcome saved = run({"places", "--saved"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, "1\t19/1921000\tDes Moines, IA\n2\t38/3807200\tBismarck, ND\n");
    EXPECT_NE(saved.err.find("'19/x': not STATE_ID/CITY_ID"), std::string::npos) << saved.err;
    EXPECT_NE(saved.err.find("'19/1999999': no longer in the location files"), std::string::npos) << saved.err;
    const json list = json::parse(run({"places", "--saved", "--json"}).out)["places"];
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1]["id"], "38/3807200");
    EXPECT_EQ(list[1]["name"], "Bismarck");

    const Outcome second = run({"now", "2", "--units", "us"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out.rfind("Bismarck, ND\nStation:      KBIS\n", 0), 0u) << second.out;
    EXPECT_NE(second.out.find("Temperature:  -6 °F\n"), std::string::npos) << second.out;
    EXPECT_EQ(run({"now", "3"}).status, 2);
    EXPECT_EQ(run({"now", "0"}).status, 2);

    const Outcome all = run({"status", "--all", "--units", "us"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "Des Moines, IA: 76°F\nBismarck, ND: -6°F ⚠ Excessive Heat Warning\n");
    const json bar = json::parse(run({"status", "--all", "--format", "waybar", "--units", "us"}).out);
    EXPECT_EQ(bar["text"], "Des Moines 76°F, Bismarck -6°F ⚠ Excessive Heat Warning");
    EXPECT_EQ(bar["class"], "warning");
    const std::string tip = bar["tooltip"];
    EXPECT_LT(tip.find("Des Moines, IA\nStation:      KDSM"), tip.find("\n\nBismarck, ND\nStation:      KBIS")) << tip;
    EXPECT_EQ(run({"now", "--all"}).status, 2);
}

// A running program, its output going to files; ended by SIGTERM.
class Follower
{
public:
    Follower(const std::vector<std::string> &arguments, const TempDir &files)
        : m_out(files.file("follow.out"))
        , m_err(files.file("follow.err"))
    {
        std::vector<char *> argv;
        for (const std::string &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        m_pid = fork();
        if (m_pid == 0) {
            if (!std::freopen(m_out.c_str(), "w", stdout) || !std::freopen(m_err.c_str(), "w", stderr))
                _exit(127);
            execv(NIMBREL_PROGRAM, argv.data());
            _exit(127);
        }
    }
    ~Follower()
    {
        if (m_pid > 0)
            stop();
    }
    Follower(const Follower &) = delete;
    Follower &operator=(const Follower &) = delete;

    // The lines written so far, once there are at least count of them (or after 30 s, for the test to fail).
    std::vector<std::string> lines(std::size_t count) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        std::vector<std::string> all;
        while ((all = split(TempDir::read(m_out))).size() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return all;
    }
    std::string errors() const { return TempDir::read(m_err); }
    // The exit status after SIGTERM; -1 when the program did not exit by itself.
    int stop()
    {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    static std::vector<std::string> split(const std::string &text)
    {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    std::string m_out;
    std::string m_err;
    pid_t m_pid = -1;
};

// Each change is printed once, as it happens: two alerts come, one is updated, the other is missing from one
// answer (still in force) and from the next (ended); a failed check is said and the watch goes on.
TEST_F(NimbrelTest, followPrintsEachChangeOnce)
{
    using nimbreltest::AnswerAlert;
    const std::int64_t sent = 1788335100;
    const std::int64_t never = 32503680000;
    const AnswerAlert tornado{"urn:oid:tornado.1", "Tornado Warning", sent, never};
    const AnswerAlert flood{"urn:oid:flood.1", "Flash Flood Warning", sent, never};
    const AnswerAlert update{
        "urn:oid:tornado.2", "Tornado Warning", sent + 600, never, {"urn:oid:tornado.1"}, "Update"};
    server.page(PHOENIX_ALERTS, nimbreltest::alertAnswer({tornado, flood}));
    Follower follower({"nimbrel", "--settings-dir", settings.path().string(), "--api-base", server.url("/api/"),
                          "alerts", "--follow", "--interval", "1", "--json", PHOENIX},
        files);
    ASSERT_EQ(follower.lines(2).size(), 2u) << follower.errors();

    server.page(PHOENIX_ALERTS, "", 503);
    const auto failed = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (follower.errors().find("cannot fetch the alerts") == std::string::npos
        && std::chrono::steady_clock::now() < failed)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_NE(follower.errors().find("cannot fetch the alerts: "), std::string::npos) << follower.errors();

    server.page(PHOENIX_ALERTS, nimbreltest::alertAnswer({update}));
    const std::vector<std::string> lines = follower.lines(4);
    EXPECT_EQ(follower.stop(), 0);
    ASSERT_EQ(lines.size(), 4u) << follower.errors();
    std::vector<std::string> changes;
    for (const std::string &line : lines) {
        const json change = json::parse(line);
        changes.push_back(change["change"].get<std::string>() + " " + change["alert"]["id"].get<std::string>());
    }
    EXPECT_EQ(changes,
        (std::vector<std::string>{
            "new urn:oid:tornado.1", "new urn:oid:flood.1", "update urn:oid:tornado.2", "end urn:oid:flood.1"}));
    EXPECT_EQ(json::parse(lines[2])["replaces"], "urn:oid:tornado.1");
    EXPECT_EQ(json::parse(lines[0])["alert"]["event"], "Tornado Warning");
}

TEST_F(NimbrelTest, followInWords)
{
    server.page(PHOENIX_ALERTS, nimbreltest::alertAnswer({{"urn:oid:t", "Tornado Warning", 1788335100, 32503680000}}));
    Follower follower({"nimbrel", "--settings-dir", settings.path().string(), "--api-base", server.url("/api/"),
                          "alerts", "--follow", PHOENIX},
        files);
    const std::vector<std::string> lines = follower.lines(1);
    EXPECT_EQ(follower.stop(), 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("New: Tornado Warning; Severity: Severe; Expires: ", 0), 0u) << lines[0];
    EXPECT_EQ(run({"forecast", "--follow", PHOENIX}).status, 2);
    EXPECT_EQ(run({"alerts", "--follow", "Nowhere, ZZ"}).status, 2);
}

} // namespace

// A recorded point forecast with every time moved by the same amount, so that the moment of the recording (2026-05-21
// 17:30 UTC) is now: the program reads it with the system's clock.
std::string movedToNow(const std::string &answer)
{
    constexpr std::time_t RECORDED_AT = 1779384600;
    const std::time_t shift = std::time(nullptr) - RECORDED_AT;
    const auto moved = [shift](json &value) {
        std::tm parts{};
        std::istringstream in(value.get<std::string>());
        in >> std::get_time(&parts, "%Y-%m-%dT%H:%M:%S");
        const std::time_t when = timegm(&parts) + shift;
        gmtime_r(&when, &parts);
        char text[40];
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S+00:00", &parts);
        value = text;
    };
    json document = json::parse(answer);
    moved(document["properties"]["updateTime"]);
    moved(document["properties"]["generatedAt"]);
    for (json &period : document["properties"]["periods"]) {
        moved(period["startTime"]);
        moved(period["endTime"]);
    }
    return document.dump();
}

class NimbrelPointForecastTest : public NimbrelTest
{
protected:
    void SetUp() override
    {
        NimbrelTest::SetUp();
        server.page("/api/points/33.5722,-112.0901", data("live/points_39.7456_-97.0892_TOP.json"));
        server.page("/api/gridpoints/TOP/32,81/forecast", movedToNow(data("live/gridpoints_FWD_89,104_forecast.json")));
        server.page("/api/gridpoints/TOP/32,81/forecast/hourly",
            movedToNow(data("live/gridpoints_FWD_89,104_forecast_hourly.json")));
    }
};

TEST_F(NimbrelPointForecastTest, periodsAndHours)
{
    const Outcome periods = run({"forecast", "--periods", "--json", PHOENIX});
    ASSERT_EQ(periods.status, 0) << periods.err;
    const json document = json::parse(periods.out);
    EXPECT_EQ(document["place"]["name"], "Phoenix");
    EXPECT_EQ(document["old"], false);
    EXPECT_TRUE(document["updated"].get<std::string>().ends_with("+00:00"));
    ASSERT_EQ(document["periods"].size(), 5u);
    const json &first = document["periods"][0];
    EXPECT_EQ(first["number"], 1);
    EXPECT_EQ(first["name"], "This Afternoon");
    EXPECT_EQ(first["end"].get<std::string>().size(), 25u) << first["end"];
    EXPECT_TRUE(first["end"].get<std::string>().ends_with("+00:00")) << first["end"];
    EXPECT_EQ(first["is_daytime"], false);
    EXPECT_DOUBLE_EQ(first["temperature_c"].get<double>(), 28.3);
    EXPECT_EQ(first["precipitation_chance"], 30);
    EXPECT_EQ(first["wind_direction"], "S");
    EXPECT_EQ(first["wind_speed"], "15 to 20 mph");
    EXPECT_EQ(first["wind_speed_mph_low"], 15.0);
    EXPECT_EQ(first["wind_speed_mph_high"], 20.0);
    EXPECT_EQ(first["short_forecast"], "first period");
    EXPECT_TRUE(first["detailed_forecast"].get<std::string>().starts_with("A chance of showers"));
    EXPECT_EQ(first["sky"], "tsra_sct");
    EXPECT_FALSE(first.contains("dew_point_c"));
    EXPECT_TRUE(document["periods"][2]["precipitation_chance"].is_null());

    const Outcome hours = run({"forecast", "--hourly", "--json", PHOENIX});
    ASSERT_EQ(hours.status, 0) << hours.err;
    const json hourly = json::parse(hours.out)["hourly"];
    ASSERT_EQ(hourly.size(), 156u);
    EXPECT_DOUBLE_EQ(hourly[0]["dew_point_c"].get<double>(), 22.8);
    EXPECT_EQ(hourly[0]["relative_humidity"], 82);
    EXPECT_EQ(hourly[0]["sky"], "tsra");
    EXPECT_FALSE(hourly[0].contains("detailed_forecast"));

    const Outcome metric = run({"forecast", "--periods", "--units", "metric", PHOENIX});
    ASSERT_EQ(metric.status, 0) << metric.err;
    EXPECT_NE(metric.out.find("\nThis Afternoon   28 °C  30%     S 24 to 32 km/h   tsra_sct  first period\n"),
        std::string::npos)
        << metric.out;
    const Outcome us = run({"forecast", "--hourly", "--units", "us", PHOENIX});
    ASSERT_EQ(us.status, 0) << us.err;
    EXPECT_NE(
        us.out.find("  79 °F  73 °F   82%       23%     S 15 mph          tsra      Slight Chance"), std::string::npos)
        << us.out;
}

TEST_F(NimbrelPointForecastTest, refusalsAndFailures)
{
    const Outcome pages = run({"--source", "pages", "forecast", "--periods", PHOENIX});
    EXPECT_EQ(pages.status, 2);
    EXPECT_NE(pages.err.find("needs the web service"), std::string::npos) << pages.err;
    EXPECT_EQ(run({"now", "--hourly", PHOENIX}).status, 2);
    EXPECT_EQ(run({"forecast", "--hourly", "--periods", PHOENIX}).status, 2);
    EXPECT_EQ(run({"forecast", "--hourly", "--cached", PHOENIX}).status, 2);

    server.page("/api/gridpoints/TOP/32,81/forecast", R"({"title": "Forecast Grid Expired", "status": 503})", 503);
    const Outcome expired = run({"forecast", "--periods", PHOENIX});
    EXPECT_EQ(expired.status, 3);
    EXPECT_NE(expired.err.find("Forecast Grid Expired"), std::string::npos) << expired.err;
}
