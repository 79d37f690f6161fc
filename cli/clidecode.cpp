#include "cli/clicommands.h"
#include "cli/cliobservation.h"
#include "cli/clisession.h"
#include "cli/clitext.h"
#include "meteo/base/wcondition.h"
#include "meteo/reader/wdecodereport.h"

#include <nlohmann/json.hpp>

#include <ctime>
#include <iostream>
#include <limits>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace cli
{

// Decoding reports that the user holds, with the decoder of the observation pages and nothing fetched.

namespace
{

using json = nlohmann::ordered_json;

constexpr const char *NOT_A_REPORT = "no temperature, dew point, pressure or wind in the text";
// A report is a line of a few hundred characters; a longer line than this is no report, and is passed over
// without being held, so that one endless line cannot exhaust the memory.
constexpr std::size_t LONGEST_LINE = 64 * 1024;

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

enum class LineRead { Line, TooLong, End };

// The next line of in, without its end, into line (which keeps a buffer of LONGEST_LINE + 1 bytes).
LineRead readLine(std::istream &in, std::string &line)
{
    line.resize(LONGEST_LINE + 1);
    in.getline(line.data(), static_cast<std::streamsize>(line.size()));
    const auto taken = static_cast<std::size_t>(in.gcount());
    if (in.fail() && taken == 0)
        return LineRead::End;
    if (in.fail() && !in.eof()) {
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        return LineRead::TooLong;
    }
    // The line's end was taken too, unless the input ended without one.
    line.resize(in.eof() ? taken : taken - 1);
    return LineRead::Line;
}

// Decodes every line that is not blank, for as long as the output takes what is written.
void decodeLines(std::istream &in, std::ostream &out, Decoder &decoder)
{
    std::string line;
    std::size_t number = 0;
    for (LineRead read = readLine(in, line); read != LineRead::End && out; read = readLine(in, line)) {
        ++number;
        if (read == LineRead::TooLong)
            std::cerr << "nimbrel: line " << number << " is longer than " << LONGEST_LINE / 1024
                      << " KB and holds no report; passed over\n";
        else if (line.find_first_not_of(" \t\r") != std::string::npos)
            decoder.decode(line);
    }
}

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
        decodeLines(in, out, decoder);
    }
    if (decoder.decodedAny())
        return CliExit::Ok;
    std::cerr << "nimbrel: no report with an observation\n";
    return CliExit::NoObservation;
}

} // namespace cli
