#include "cli/clicommands.h"
#include "cli/cliobservation.h"
#include "cli/clisession.h"
#include "cli/clitext.h"
#include "meteo/reader/wcondition.h"
#include "meteo/reader/wdecodereport.h"

#include <nlohmann/json.hpp>

#include <ctime>
#include <iostream>

// Decoding reports that the user holds, with the decoder of the observation pages and nothing fetched.

namespace
{

using json = nlohmann::ordered_json;

constexpr const char *NOT_A_REPORT = "no temperature, dew point, pressure or wind in the text";

class Decoder
{
public:
    Decoder(CliSession &session, std::ostream &out)
        : m_json(session.options().json)
        , m_out(out)
        , m_now(std::time(nullptr))
    {
        if (!m_json)
            m_units = session.units();
    }

    void decode(std::string report)
    {
        while (!report.empty() && (report.back() == '\r' || report.back() == ' '))
            report.pop_back();
        WCondition condition = CliObservation::blankCondition();
        const bool decoded = decodeReport(LString(report.c_str()), condition, m_now) == L_OK;
        m_decoded += decoded ? 1 : 0;
        const CliObservation observation
            = CliObservation::fromCondition(condition, decoded ? CliObservation::stationOf(report) : std::string());
        if (m_json)
            writeJson(report, decoded ? &observation : nullptr);
        else
            writeText(report, decoded ? &observation : nullptr);
    }

    bool decodedAny() const { return m_decoded > 0; }

private:
    void writeJson(const std::string &report, const CliObservation *observation)
    {
        json object{{"report", report}};
        if (observation)
            observation->toJson(object, std::nullopt);
        else
            object["error"] = NOT_A_REPORT;
        m_out << jsonLine(object);
    }

    void writeText(const std::string &report, const CliObservation *observation)
    {
        m_out << (m_written++ ? "\n" : "") << "Report:       " << plainText(report) << '\n';
        if (observation)
            m_out << observation->text(*m_units, std::nullopt);
        else
            m_out << "Error:        " << NOT_A_REPORT << '\n';
    }

    bool m_json;
    std::ostream &m_out;
    // One moment for all reports, so that reports of one day all fall in the same month.
    std::int64_t m_now;
    std::optional<CliUnits> m_units;
    std::size_t m_decoded = 0;
    std::size_t m_written = 0;
};

} // namespace

CliExit runDecode(CliSession &session, std::istream &in, std::ostream &out)
{
    const std::optional<std::string> &argument = session.options().argument;
    if (!argument)
        throw CliError(CliExit::Usage, "decode needs a REPORT, or - to read reports from standard input");
    Decoder decoder(session, out);
    if (*argument != "-") {
        decoder.decode(*argument);
    } else {
        for (std::string line; std::getline(in, line);) {
            if (line.find_first_not_of(" \t\r") != std::string::npos)
                decoder.decode(line);
        }
    }
    if (decoder.decodedAny())
        return CliExit::Ok;
    std::cerr << "nimbrel: no report with an observation\n";
    return CliExit::NoObservation;
}
