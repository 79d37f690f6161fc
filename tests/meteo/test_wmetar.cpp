#include "meteo/reader/wmetar_p.h"

#include "corekit/lex.h"
#include "corekit/lstring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

std::int64_t utc(int year, int month, int day, int hour, int minute)
{
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    return timegm(&fields);
}

// "2014-09-26 21:35" as seconds since 1970 in UTC.
std::int64_t utc(const char *text)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    EXPECT_EQ(std::sscanf(text, "%d-%d-%d %d:%d", &year, &month, &day, &hour, &minute), 5) << text;
    return utc(year, month, day, hour, minute);
}

// A day late enough in the month for the made-up reports of the 12th.
const std::int64_t june20 = utc(2025, 6, 20, 12, 0);

WMetarReport decode(const LString &text, std::int64_t now = june20)
{
    WMetarReport out;
    EXPECT_EQ(decodeMetar(text, out, now), L_OK);
    return out;
}

template<typename T>
void expectValue(const char *name, bool present, T value, std::optional<T> expected)
{
    EXPECT_EQ(present, expected.has_value()) << name;
    if (present && expected) {
        if constexpr (std::is_floating_point_v<T>)
            EXPECT_FLOAT_EQ(value, *expected) << name;
        else
            EXPECT_EQ(value, *expected) << name;
    }
}

// A real report and what it says. Absent values are {}; the variable sector is 400 to 400 when there is none.
struct RealReport {
    const char *text;
    const char *observed; // UTC
    std::optional<float> temperature;
    std::optional<float> dewPoint;
    std::optional<float> pressure;
    std::optional<int> direction;
    std::optional<int> speed;
    std::optional<int> gust;
    int sectorFrom = 400;
    int sectorTo = 400;
};

// From reports-sample.txt: the reports of the 26th were observed in September 2014, those of the 18th in
// December 2014, those of the 27th in January 2025.
const RealReport realReports[] = {
    {"KSTF 262135Z AUTO 06006KT 10SM SCT070 28/16 A3007 RMK AO2", "2014-09-26 21:35", 28, 16, 30.07f, 60, 6, {}},
    {"KPHT 262135Z AUTO 04006KT 10SM FEW050 27/15 A3013 RMK", "2014-09-26 21:35", 27, 15, 30.13f, 40, 6, {}},
    {"KLUX 262135Z AUTO 04004KT 7SM RA OVC016 20/20 A3018 RMK AO2", "2014-09-26 21:35", 20, 20, 30.18f, 40, 4, {}},
    {"KIMM 262135Z AUTO 00000KT 1 1/4SM BKN001 OVC011 23/ A2996 RMK A01 P001", "2014-09-26 21:35", 23, {}, 29.96f, 0, 0,
        {}},
    {"K40B 262116Z AUTO VRB04G11KT 22/09 A3010 RMK AO1 SLP189 T02240090 57015", "2014-09-26 21:16", 22.4f, 9.0f, 30.10f,
        400, 4, 11},
    {"PASL 262116Z AUTO 00000KT 10SM CLR 07/M05 A2992 RMK AO1", "2014-09-26 21:16", 7, -5, 29.92f, 0, 0, {}},
    {"KPMV 262115Z AUTO 17007KT 10SM CLR 29/09 A3007 RMK AO2 T02900087", "2014-09-26 21:15", 29.0f, 8.7f, 30.07f, 170,
        7, {}},
    {"KOLZ 262115Z AUTO 15006G14KT 10SM SCT055 26/14 A3017 RMK AO2", "2014-09-26 21:15", 26, 14, 30.17f, 150, 6, 14},
    {"KEMK 262115Z AUTO 06021KT 10SM FEW024 FEW029 FEW036 30/23 A2994 RMK A01", "2014-09-26 21:15", 30, 23, 29.94f, 60,
        21, {}},
    {"KHQI 262115Z AUTO 05021KT M1/4SM FZFG BKN024 OVC033 A2997 RMK A01", "2014-09-26 21:15", {}, {}, 29.97f, 50, 21,
        {}},
    {"KGRY 262115Z AUTO 12008G15KT 080V150 10SM CLR 27/21 A2997 RMK A01", "2014-09-26 21:15", 27, 21, 29.97f, 120, 8,
        15, 80, 150},
    {"PAIK 262101Z AUTO 00000KT 10SM OVC055 02/01 A3009 RMK AO2 SLP232 6//// T00220006 58002 FZRANO PNO $",
        "2014-09-26 21:01", 2.2f, 0.6f, 30.09f, 0, 0, {}},
    {"KMCF 262058Z AUTO 08014KT 10SM VCTS CLR 29/25 A2994 RMK AO2 LTG DSNT N-NE TSB2005E2046 SLP142 P0001 60001 "
     "T02920254 55012",
        "2014-09-26 20:58", 29.2f, 25.4f, 29.94f, 80, 14, {}},
    {"KNSI 262057Z AUTO 29027G32KT 10SM CLR A2991 RMK AO2 PK WND 29035/2015 SLPNO 57007 $", "2014-09-26 20:57", {}, {},
        29.91f, 290, 27, 32},
    {"PARS 262056Z AUTO 02007KT 10SM CLR 06/M01 A2990 RMK AO2 TSNO 53001 T00551005 SLP131 $", "2014-09-26 20:56", 5.5f,
        -0.5f, 29.90f, 20, 7, {}},
    {"PALG 262056Z AUTO 12006KT CLR 07/M01 RMK AO2 PWINO TSNO 5//// T00721005 SLPNO $", "2014-09-26 20:56", 7.2f, -0.5f,
        {}, 120, 6, {}},
    {"KHFF 262056Z 07006KT 10SM OVC027 23/18 A3018 RMK AO2A SLP216 WND DATA ESTMD ALSTG/SLP ESTD T02280176 57010 $",
        "2014-09-26 20:56", 22.8f, 17.6f, 30.18f, 70, 6, {}},
    {"KHND 262056Z 20023G28KT 10SM FEW110 35/13 A2979 RMK AO2 58030 T03500133 PK WND 20032/2033 SLP054",
        "2014-09-26 20:56", 35.0f, 13.3f, 29.79f, 200, 23, 28},
    {"TJSJ 262056Z 00000KT 10SM SCT035 BKN100 27/24 A2984 RMK AO2 TSE17RAE19 SLP104 OCNL LTGCGIC DSNT SW CB DSNT SW "
     "P0002 60003 T02670244 58007",
        "2014-09-26 20:56", 26.7f, 24.4f, 29.84f, 0, 0, {}},
    {"PABR 262053Z 12012KT 10SM FEW200 BKN300 M02/M03 A3021 RMK AO2 SLP230 T10221033 57009", "2014-09-26 20:53", -2.2f,
        -3.3f, 30.21f, 120, 12, {}},
    {"PAAQ 262053Z 00000KT 10SM SCT200 09/00 A2982 RMK AO2 SLP101 T00940000 56005", "2014-09-26 20:53", 9.4f, 0.0f,
        29.82f, 0, 0, {}},
    {"KQBL 262056Z AUTO VRB02KT 10SM CLR 28/18 A3003 RMK AO2 SLP176 T02780175 56016", "2014-09-26 20:56", 27.8f, 17.5f,
        30.03f, 400, 2, {}},
    {"K8D3 262056Z AUTO 15012G21KT 28/17 A2998 RMK AO1 SLP137 T02830167 56018", "2014-09-26 20:56", 28.3f, 16.7f,
        29.98f, 150, 12, 21},
    {"KALS 262052Z AUTO 10SM CLR 26/02 A3021 RMK AO2 SLP134 T02560022 57023", "2014-09-26 20:52", 25.6f, 2.2f, 30.21f,
        {}, {}, {}},
    {"KOGD 262053Z 17017G25KT 10SM CLR 30/07 A2992 RMK AO2 PK WND 17029/2004 SLP064 T03000072 58015",
        "2014-09-26 20:53", 30.0f, 7.2f, 29.92f, 170, 17, 25},
    {"KCWF 262050Z 07004KT 10SM SCT050 28/17 A3003", "2014-09-26 20:50", 28, 17, 30.03f, 70, 4, {}},
    {"KATW 262045Z 16008KT 10SM FEW100 24/09 A3028", "2014-09-26 20:45", 24, 9, 30.28f, 160, 8, {}},
    {"KEMT 262045Z 19006G14KT 10SM CLR 29/14 A2986", "2014-09-26 20:45", 29, 14, 29.86f, 190, 6, 14},
    {"KMKN 262030Z AUTO 11007KT 10SM BKN050 BKN090 28/14 A3008 RMK AO2 T02790139", "2014-09-26 20:30", 27.9f, 13.9f,
        30.08f, 110, 7, {}},
    {"KSPD 180756Z AUTO 32012KT M03/M04 A3000 RMK AO1 SLP166 T10331039", "2014-12-18 07:56", -3.3f, -3.9f, 30.00f, 320,
        12, {}},
    {"PARC 180756Z AUTO 00000KT 10SM OVC011 M18/M18 A2952 RMK AO1", "2014-12-18 07:56", -18, -18, 29.52f, 0, 0, {}},
    {"KILE 180755Z AUTO 06005KT 1 3/4SM OVC002 08/05 A3008 RMK AO1", "2014-12-18 07:55", 8, 5, 30.08f, 60, 5, {}},
    {"KPVJ 180755Z AUTO 17006KT 5SM BR OVC003 03/03 A3013 RMK AO2 T00290025", "2014-12-18 07:55", 2.9f, 2.5f, 30.13f,
        170, 6, {}},
    {"PATL 180755Z AUTO 11006KT 2 1/2SM BR OVC003 M10/M11 A2963 RMK AO2 SLP059 T11021109 $", "2014-12-18 07:55", -10.2f,
        -10.9f, 29.63f, 110, 6, {}},
    {"PALU 180755Z AUTO 12008KT 10SM -SN OVC060 M15/M17 A2971 RMK AO2 SNB0555 SLP061 P0000 T11481171",
        "2014-12-18 07:55", -14.8f, -17.1f, 29.71f, 120, 8, {}},
    {"KVSF 180754Z AUTO 28007KT 240V310 10SM BKN032 OVC055 03/M02 A2973 RMK AO2 SLP074 T00281022 TSNO",
        "2014-12-18 07:54", 2.8f, -2.2f, 29.73f, 280, 7, {}, 240, 310},
    {"KORH 180754Z AUTO 28017G25KT 10SM BKN065 OVC080 01/M02 A2969 RMK AO2 PK WND 28027/0711 SLP063 T00111022",
        "2014-12-18 07:54", 1.1f, -2.2f, 29.69f, 280, 17, 25},
    {"KDDH 180754Z AUTO 24007G15KT 2 1/2SM -SN BR BKN009 BKN013 OVC028 00/M02 A2979 RMK AO2 SLP095 P0000 T00001017",
        "2014-12-18 07:54", 0.0f, -1.7f, 29.79f, 240, 7, 15},
    {"KLTS 180753Z AUTO 14009KT 1 3/4SM R17R/3500FT BR OVC002 04/04 A3008 RMK AO2", "2014-12-18 07:53", 4, 4, 30.08f,
        140, 9, {}},
    {"KLMT 180753Z AUTO 00000KT 10SM FEW009 BKN034 OVC048 02/01 A2999 RMK AO2 RAE39UPB39E41 SLP159 P0001 T00170006 "
     "400560000",
        "2014-12-18 07:53", 1.7f, 0.6f, 29.99f, 0, 0, {}},
    {"KLIT 180753Z 10007KT 6SM RA BR OVC060 03/01 A3025 RMK AO2 SLP246 P0002 T00330011", "2014-12-18 07:53", 3.3f, 1.1f,
        30.25f, 100, 7, {}},
    {"KCDR 180753Z AUTO 22004KT 1/4SM FZFG VV002 M08/M09 A3002 RMK AO2 SLP216 I1000 T10831094 $", "2014-12-18 07:53",
        -8.3f, -9.4f, 30.02f, 220, 4, {}},
    {"KMCI 180753Z 08005KT 1SM R19R/P6000FT -SN BR BKN016 OVC022 M02/M03 A3023 RMK AO2 SFC VIS 1 1/4 SLP247 P0005 "
     "T10221033",
        "2014-12-18 07:53", -2.2f, -3.3f, 30.23f, 80, 5, {}},
    {"KIAB 180753Z AUTO 07008KT 3SM R19/4000FT -SN BR SCT004 OVC016 00/M01 A3014 RMK AO2 RAB0729E0745SNE0729B0745 CIG "
     "004V016",
        "2014-12-18 07:53", 0, -1, 30.14f, 70, 8, {}},
    {"KCKV 180752Z AUTO 00000KT 7SM -FZRA OVC080 00/M02 A3028 RMK AO2 RAB12E22UPB22E46FZRAB46 SLP259 P0002 I1001 "
     "T00001022",
        "2014-12-18 07:52", 0.0f, -2.2f, 30.28f, 0, 0, {}},
    {"KMWM 180753Z AUTO 00000KT 10SM M15/M16 A3027 RMK AO2", "2014-12-18 07:53", -15, -16, 30.27f, 0, 0, {}},
    {"KT82 180735Z AUTO 00000KT 1/4SM FG OVC002 11/11 A3009 RMK AO2 T01100108", "2014-12-18 07:35", 11.0f, 10.8f,
        30.09f, 0, 0, {}},
    {"KRYW 180735Z AUTO 05004KT 1/4SM DZ OVC003 10/09 A3010 RMK AO2 T00950086", "2014-12-18 07:35", 9.5f, 8.6f, 30.10f,
        50, 4, {}},
    {"KN38 180735Z AUTO 30014G27KT 270V330 10SM OVC023 M02/M07 A2997 RMK AO2", "2014-12-18 07:35", -2, -7, 29.97f, 300,
        14, 27, 270, 330},
    {"KJWG 180735Z AUTO 14003KT 2SM UP OVC003 03/03 A3009 RMK AO2 T00280028 TSNO", "2014-12-18 07:35", 2.8f, 2.8f,
        30.09f, 140, 3, {}},
    {"KEOE 180735Z AUTO 00000KT 10SM CLR 03/ A3012 RMK AO2", "2014-12-18 07:35", 3, {}, 30.12f, 0, 0, {}},
    {"KBXA 180735Z AUTO 36003KT 10SM 05/04 A3020 RMK AO2 T00540039", "2014-12-18 07:35", 5.4f, 3.9f, 30.20f, 360, 3,
        {}},
    {"PAKH 180656Z AUTO 06020KT 10SM 05/M01 A2924 RMK AO2 TSNO T00501005 PK WND 06028/0558 SLP905 $",
        "2014-12-18 06:56", 5.0f, -0.5f, 29.24f, 60, 20, {}},
    {"KQEA 180655Z AUTO VRB02KT 31/21 A2977 RMK AO2 SLP080 T03140214 PWINO TSNO $", "2014-12-18 06:55", 31.4f, 21.4f,
        29.77f, 400, 2, {}},
    {"KFCM 180753Z AUTO 00000KT 9SM CLR M11/M14 A3032 RMK AO2 SLP285 I1000 T11111139", "2014-12-18 07:53", -11.1f,
        -13.9f, 30.32f, 0, 0, {}},
    {"KPLN 272220Z AUTO 26014G24KT 2 1/2SM -SN FEW010 SCT016 OVC050 01/M02 A2935 RMK AO2 P0000 T00061022",
        "2025-01-27 22:20", 0.6f, -2.2f, 29.35f, 260, 14, 24},
    {"KRYY 272221Z 29008KT 2SM BR OVC007 09/08 A3006 RMK AO2 $", "2025-01-27 22:21", 9, 8, 30.06f, 290, 8, {}},
    {"KTTF 272215Z AUTO 24019G26KT 10SM CLR 02/M10 A2965 RMK AO2 PK WND 23031/15", "2025-01-27 22:15", 2, -10, 29.65f,
        240, 19, 26},
    {"KPRG 272215Z 23015G20KT 10SM CLR 02/M05 RMK AO2 T00221052", "2025-01-27 22:15", 2.2f, -5.2f, {}, 230, 15, 20},
    {"KEGV 272215Z 10SM OVC030 M01/M08 A2947 RMK AO2 T10151083", "2025-01-27 22:15", -1.5f, -8.3f, 29.47f, {}, {}, {}},
    {"KANJ 272215Z AUTO 32016G28KT 1 1/2SM -SN BKN015 BKN060 OVC070 M02/M05 A2928 RMK AO2 PK WND 32028/2209 VIS 1V2 "
     "1/2 PRESRR P0003 T10221050",
        "2025-01-27 22:15", -2.2f, -5.0f, 29.28f, 320, 16, 28},
    {"PPIZ 272214Z AUTO 01017KT 3SM -SN BR BKN028 OVC034 M18/M20 A2973 RMK AO2 P0000 FZRANO", "2025-01-27 22:14", -18,
        -20, 29.73f, 10, 17, {}},
    {"PFCB 272210Z AUTO 22012G20KT 180V250 10SM BKN039 BKN049 OVC120 04/M01 A2993 RMK AO2 T00411009 PWINO",
        "2025-01-27 22:10", 4.1f, -0.9f, 29.93f, 220, 12, 20, 180, 250},
    {"PABR 272203Z 06010KT 4SM -SN FEW026 OVC100 M19/M22 A2970", "2025-01-27 22:03", -19, -22, 29.70f, 60, 10, {}},
    {"KOZR 272200Z AUTO 31003KT 5SM -DZ BR BKN007 OVC011 14/13 A3006 RMK AO2 CIG 007V009 SLP182", "2025-01-27 22:00",
        14, 13, 30.06f, 310, 3, {}},
    {"PAVD 272156Z VRB04KT 3/4SM -SN BR FEW001 BKN012 OVC025 02/M02 A2999 RMK AO2 SLP153 VIS NE 1 1/2 P0000 T00171017 "
     "$",
        "2025-01-27 21:56", 1.7f, -1.7f, 29.99f, 400, 4, {}},
    {"PASM 272156Z AUTO 26012KT 10SM OVC018 M21/M23 A2991 RMK AO2 SLP143 T12061228 FZRANO", "2025-01-27 21:56", -20.6f,
        -22.8f, 29.91f, 260, 12, {}},
    {"KSTS 272153Z COR 31003KT 10SM CLR 19/M02 A3012 RMK AO2 SLP192 T01891017", "2025-01-27 21:53", 18.9f, -1.7f,
        30.12f, 310, 3, {}},
    {"KVQQ 272150Z COR 25007KT 10SM FEW050 SCT110 23/10 A3009", "2025-01-27 21:50", 23, 10, 30.09f, 250, 7, {}},
    {"KWDG 272145Z 19012KT 10SM SKC 10/M09 A3015", "2025-01-27 21:45", 10, -9, 30.15f, 190, 12, {}},
    {"KMWA 272145Z 24007KT 20SM CLR 06/M11 A3008", "2025-01-27 21:45", 6, -11, 30.08f, 240, 7, {}},
    {"KEFD 272154Z 03008KT 7SM OVC015 14/11 A3014", "2025-01-27 21:54", 14, 11, 30.14f, 30, 8, {}},
    {"KDSV 272154Z AUTO 19007KT 160V230 10SM CLR 03/M16 A2962 RMK AO2 SLP045 T00331161", "2025-01-27 21:54", 3.3f,
        -16.1f, 29.62f, 190, 7, {}, 160, 230},
    {"KLUL 272215Z AUTO 33007KT 10SM OVC010 11/09 A3016 RMK A02 T01110095", "2025-01-27 22:15", 11.1f, 9.5f, 30.16f,
        330, 7, {}},
    {"KMGN 272215Z AUTO 24014G22KT 3/4SM -SN OVC012 00/M01 A2935 RMK AO2 T00001010", "2025-01-27 22:15", 0.0f, -1.0f,
        29.35f, 240, 14, 22},
};

TEST(decodeMetar, realReportsFieldByField)
{
    for (const RealReport &row : realReports) {
        SCOPED_TRACE(row.text);
        const std::int64_t observed = utc(row.observed);
        const WMetarReport out = decode(row.text, observed + 3600);
        EXPECT_TRUE(out.hasObservationTime);
        EXPECT_EQ(out.observationTime, observed);
        expectValue("temperature", out.hasTemperature, out.temperature, row.temperature);
        expectValue("dew point", out.hasDewPoint, out.dewPoint, row.dewPoint);
        expectValue("pressure", out.hasPressure, out.pressure, row.pressure);
        expectValue("direction", out.hasWindDirection, out.windDirection, row.direction);
        expectValue("speed", out.hasWindSpeed, out.windSpeed, row.speed);
        expectValue("gust", out.hasWindGust, out.windGust, row.gust);
        EXPECT_EQ(out.variableFrom, row.sectorFrom);
        EXPECT_EQ(out.variableTo, row.sectorTo);
    }
}

// Every report of the sample has its day, hour and minute read, whatever follows.
TEST(decodeMetar, everySampleReportGetsItsTime)
{
    std::ifstream in(NIMBREL_SOURCE_DIR "/tests/data/metar/reports-sample.txt");
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        SCOPED_TRACE(line);
        const int day = std::stoi(line.substr(5, 2));
        const int hour = std::stoi(line.substr(7, 2));
        const int minute = std::stoi(line.substr(9, 2));
        const WMetarReport out = decode(line.c_str(), utc(2025, 1, 28, 0, 0));
        EXPECT_TRUE(out.hasObservationTime);
        EXPECT_EQ(out.observationTime, utc(2025, 1, day, hour, minute));
        ++count;
    }
    EXPECT_EQ(count, 400);
}

TEST(decodeMetar, documentedExamples)
{
    WMetarReport out = decode("KJFK 121851Z 18010KT 10SM FEW050 24/12 A3001 RMK AO2 SLP162 T02440122");
    EXPECT_FLOAT_EQ(out.temperature, 24.4f);
    EXPECT_FLOAT_EQ(out.dewPoint, 12.2f);
    EXPECT_FLOAT_EQ(out.pressure, 30.01f);
    EXPECT_EQ(out.windDirection, 180);
    EXPECT_EQ(out.windSpeed, 10);
    EXPECT_FALSE(out.hasWindGust);
    EXPECT_EQ(out.observationTime, utc(2025, 6, 12, 18, 51));

    out = decode("KBOS 121854Z 27015G25KT 240V300 10SM BKN035 M05/M12 A2992 RMK AO2");
    EXPECT_FLOAT_EQ(out.temperature, -5.0f);
    EXPECT_FLOAT_EQ(out.dewPoint, -12.0f);
    EXPECT_FLOAT_EQ(out.pressure, 29.92f);
    EXPECT_EQ(out.windDirection, 270);
    EXPECT_EQ(out.windSpeed, 15);
    EXPECT_TRUE(out.hasWindGust);
    EXPECT_EQ(out.windGust, 25);
    EXPECT_EQ(out.variableFrom, 240);
    EXPECT_EQ(out.variableTo, 300);

    out = decode("KXYZ 121853Z AUTO 00000KT 1 1/2SM R04/2400FT R22/3000FT -RA BR OVC004 10/09 A2990 RMK AO2");
    EXPECT_TRUE(out.hasTemperature && out.hasDewPoint && out.hasPressure && out.hasWindDirection && out.hasWindSpeed);
    EXPECT_FLOAT_EQ(out.temperature, 10.0f);
    EXPECT_FLOAT_EQ(out.dewPoint, 9.0f);
    EXPECT_FLOAT_EQ(out.pressure, 29.9f);
    EXPECT_EQ(out.windDirection, 0);
    EXPECT_EQ(out.windSpeed, 0);
    EXPECT_FALSE(out.hasWindGust);

    out = decode("KXYZ 121853Z VRB03KT 10SM CLR 20/10 A3000 RMK AO1");
    EXPECT_EQ(out.windDirection, 400);
    EXPECT_EQ(out.windSpeed, 3);

    // A gust of 0 is no gust; a sector is consumed, so what follows it is read even without a visibility.
    out = decode("KXYZ 121853Z 18010G00KT 150V210 20/10 A3000");
    EXPECT_FALSE(out.hasWindGust);
    EXPECT_EQ(out.variableFrom, 150);
    EXPECT_EQ(out.variableTo, 210);
    EXPECT_TRUE(out.hasTemperature && out.hasPressure);
}

// A group ends at a blank or at the end of the text, so a report read up to any of its groups keeps what that
// group says.
TEST(decodeMetar, readsTheLastGroup)
{
    WMetarReport out = decode("KXYZ 121853Z 18010KT 10SM CLR 20/10 A3000");
    EXPECT_TRUE(out.hasPressure);
    EXPECT_FLOAT_EQ(out.pressure, 30.0f);

    out = decode("KXYZ 121853Z 18010KT 10SM CLR 20/10");
    EXPECT_TRUE(out.hasTemperature && out.hasDewPoint);
    EXPECT_FALSE(out.hasPressure);

    out = decode("KXYZ 121853Z 18015G22KT");
    EXPECT_TRUE(out.hasWindDirection && out.hasWindSpeed && out.hasWindGust);
    EXPECT_EQ(out.windDirection, 180);
    EXPECT_EQ(out.windSpeed, 15);
    EXPECT_EQ(out.windGust, 22);
    EXPECT_EQ(out.variableFrom, 400);

    out = decode("KXYZ 121853Z 18015KT 10SM");
    EXPECT_TRUE(out.hasWindDirection && out.hasWindSpeed);
    EXPECT_EQ(out.variableFrom, 400);

    out = decode("KXYZ 121853Z 18015KT 150V210");
    EXPECT_EQ(out.windSpeed, 15);
    EXPECT_EQ(out.variableFrom, 150);
    EXPECT_EQ(out.variableTo, 210);

    out = decode("KXYZ 121853Z");
    EXPECT_TRUE(out.hasObservationTime);
    EXPECT_EQ(out.observationTime, utc(2025, 6, 12, 18, 53));
}

TEST(decodeMetar, takesModifiersInEitherOrder)
{
    for (const char *text :
        {"KXYZ 121853Z AUTO 18010KT 10SM CLR 20/10 A3000", "KXYZ 121853Z COR 18010KT 10SM CLR 20/10 A3000",
            "KXYZ 121853Z COR AUTO 18010KT 10SM CLR 20/10 A3000", "KXYZ 121853Z AUTO COR 18010KT 10SM CLR 20/10 A3000",
            "METAR KXYZ 121853Z COR AUTO 18010KT 10SM CLR 20/10 A3000",
            "SPECI KXYZ 121853Z AUTO 18010KT 10SM CLR 20/10 A3000"}) {
        SCOPED_TRACE(text);
        const WMetarReport out = decode(text);
        EXPECT_TRUE(out.hasObservationTime);
        EXPECT_EQ(out.windDirection, 180);
        EXPECT_EQ(out.windSpeed, 10);
        EXPECT_TRUE(out.hasTemperature);
        EXPECT_TRUE(out.hasPressure);
    }
}

// Weather codes are taken by their letters, category by category, until a pass finds none; what follows them is
// then read as usual.
TEST(decodeMetar, passesOverPresentWeather)
{
    for (const char *weather : {"-FZRAPL", "PL", "-PE", "+DS", "DS SS", "+TSRAGR BR HZ", "VCSH", "-SHRASN BR", "FZFG",
             "BLSN", "MIFG", "PRFG", "BCFG DRSA", "-DZ FU", "VA DU PY", "+FC SQ PO", "SG IC GS UP"}) {
        SCOPED_TRACE(weather);
        const std::string text = std::string("KXYZ 121853Z 18010KT 2SM ") + weather + " OVC010 M02/M04 A2992";
        const WMetarReport out = decode(text.c_str());
        EXPECT_TRUE(out.hasTemperature);
        EXPECT_FLOAT_EQ(out.dewPoint, -4.0f);
        EXPECT_FLOAT_EQ(out.pressure, 29.92f);
    }
    // Letters that are no code stop the passes, and the groups behind them are not reached.
    const WMetarReport out = decode("KXYZ 121853Z 18010KT 2SM -RAXX OVC010 M02/M04 A2992");
    EXPECT_FALSE(out.hasTemperature);
    EXPECT_FALSE(out.hasPressure);
    EXPECT_TRUE(out.hasWindSpeed);
}

TEST(decodeMetar, partWithoutNumberIsAbsent)
{
    WMetarReport out = decode("KJFK 121851Z 18010G25KT 10SM FEW050 24/12 A3001 RMK AO2 T02440122");
    EXPECT_EQ(decodeMetar("KXYZ 121853Z /////KT 10SM CLR ///// A////", out, june20), L_OK);
    EXPECT_TRUE(out.hasObservationTime);
    EXPECT_FALSE(out.hasWindDirection || out.hasWindSpeed || out.hasWindGust);
    EXPECT_FALSE(out.hasTemperature || out.hasDewPoint || out.hasPressure);

    out = decode("KXYZ 121853Z 180//KT 10SM CLR M/05 A3001");
    EXPECT_EQ(out.windDirection, 180);
    EXPECT_FALSE(out.hasWindSpeed);
    EXPECT_FALSE(out.hasTemperature);
    EXPECT_FLOAT_EQ(out.dewPoint, 5.0f);

    out = decode("KXYZ 121853Z 18010G//KT 10SM CLR 23/ A3001");
    EXPECT_EQ(out.windSpeed, 10);
    EXPECT_FALSE(out.hasWindGust);
    EXPECT_FLOAT_EQ(out.temperature, 23.0f);
    EXPECT_FALSE(out.hasDewPoint);

    // The hourly group replaces only the parts that hold a number.
    out = decode("KXYZ 121853Z 18010KT 10SM CLR 08/06 A3001 RMK AO2 T0089////");
    EXPECT_FLOAT_EQ(out.temperature, 8.9f);
    EXPECT_FLOAT_EQ(out.dewPoint, 6.0f);
    out = decode("KXYZ 121853Z 18010KT 10SM CLR 08/06 A3001 RMK AO2 T////1050");
    EXPECT_FLOAT_EQ(out.temperature, 8.0f);
    EXPECT_FLOAT_EQ(out.dewPoint, -5.0f);
    out = decode("KXYZ 121853Z 18010KT 10SM CLR A3001 RMK AO2 T////1050");
    EXPECT_FALSE(out.hasTemperature);
    EXPECT_TRUE(out.hasDewPoint);
}

TEST(decodeMetar, malformedTimeIsAbsent)
{
    for (const char *time : {"001851Z", "321851Z", "122451Z", "121860Z", "12AB51Z", "-11851Z", "//////Z"}) {
        SCOPED_TRACE(time);
        const std::string text = std::string("KXYZ ") + time + " 18010KT 10SM CLR 20/10 A3000 RMK AO2";
        const WMetarReport out = decode(text.c_str());
        EXPECT_FALSE(out.hasObservationTime);
        EXPECT_EQ(out.windSpeed, 10);
        EXPECT_TRUE(out.hasTemperature);
        EXPECT_FLOAT_EQ(out.pressure, 30.0f);
    }
    const WMetarReport out = decode("KXYZ 122359Z 18010KT", utc(2025, 7, 31, 0, 0));
    EXPECT_EQ(out.observationTime, utc(2025, 7, 12, 23, 59));
}

TEST(decodeMetar, monthAndYearComeFromTodayInUtc)
{
    const std::int64_t march15 = utc(2025, 3, 15, 10, 0);
    EXPECT_EQ(decode("KXYZ 150953Z", march15).observationTime, utc(2025, 3, 15, 9, 53));
    // Up to an hour ahead of now is the clock running slow; further ahead is a month old.
    EXPECT_EQ(decode("KXYZ 151053Z", march15).observationTime, utc(2025, 3, 15, 10, 53));
    EXPECT_EQ(decode("KXYZ 151101Z", march15).observationTime, utc(2025, 2, 15, 11, 1));
    EXPECT_EQ(decode("KXYZ 152353Z", march15).observationTime, utc(2025, 2, 15, 23, 53));
    EXPECT_EQ(decode("KXYZ 142353Z", march15).observationTime, utc(2025, 3, 14, 23, 53));
    EXPECT_EQ(decode("KXYZ 160053Z", march15).observationTime, utc(2025, 2, 16, 0, 53));
    // January rolls back to December of the previous year.
    EXPECT_EQ(decode("KXYZ 312353Z", utc(2025, 1, 1, 0, 5)).observationTime, utc(2024, 12, 31, 23, 53));
    EXPECT_EQ(decode("KXYZ 200000Z", utc(2025, 1, 5, 0, 0)).observationTime, utc(2024, 12, 20, 0, 0));
    EXPECT_EQ(decode("KXYZ 310000Z", utc(2025, 1, 31, 0, 0)).observationTime, utc(2025, 1, 31, 0, 0));
    // Across a month end: the day of a stale page is of the month before, or of the last month that has it;
    // February has its 29th in a leap year.
    EXPECT_EQ(decode("KXYZ 282300Z", utc(2025, 3, 1, 0, 30)).observationTime, utc(2025, 2, 28, 23, 0));
    EXPECT_EQ(decode("KXYZ 311200Z", utc(2025, 5, 1, 0, 10)).observationTime, utc(2025, 3, 31, 12, 0));
    EXPECT_EQ(decode("KXYZ 302300Z", utc(2025, 3, 1, 0, 30)).observationTime, utc(2025, 1, 30, 23, 0));
    EXPECT_EQ(decode("KXYZ 291200Z", utc(2024, 3, 1, 0, 10)).observationTime, utc(2024, 2, 29, 12, 0));
    // A clock slow across the month end: the report of the 1st is of the next month.
    EXPECT_EQ(decode("KXYZ 010010Z", utc(2025, 4, 30, 23, 30)).observationTime, utc(2025, 5, 1, 0, 10));
    EXPECT_EQ(decode("KXYZ 010010Z", utc(2025, 12, 31, 23, 30)).observationTime, utc(2026, 1, 1, 0, 10));
}

// A damaged or mistyped group gives no value rather than an impossible one; the bounds themselves are values.
TEST(decodeMetar, valuesBeyondPhysicalBoundsAreAbsent)
{
    WMetarReport out = decode("KXYZ 121851Z 37010G251KT 10SM CLR 61/M91 A0000 RMK AO2");
    EXPECT_FALSE(out.hasWindDirection);
    EXPECT_EQ(out.windSpeed, 10);
    EXPECT_FALSE(out.hasWindGust);
    EXPECT_FALSE(out.hasTemperature);
    EXPECT_FALSE(out.hasDewPoint);
    EXPECT_FALSE(out.hasPressure);
    out = decode("KXYZ 121851Z 270999KT 10SM CLR 20/10 A3301 RMK AO2 T06110100");
    EXPECT_FALSE(out.hasWindSpeed);
    EXPECT_EQ(out.windDirection, 270);
    EXPECT_FALSE(out.hasPressure);
    EXPECT_FLOAT_EQ(out.temperature, 20.0f) << "the remark's 61.1 C leaves the body's value";
    EXPECT_FLOAT_EQ(out.dewPoint, 10.0f);
    out = decode("KXYZ 121851Z 360250G250KT 10SM CLR 60/M90 A2500");
    EXPECT_EQ(out.windDirection, 360);
    EXPECT_EQ(out.windSpeed, 250);
    EXPECT_EQ(out.windGust, 250);
    EXPECT_FLOAT_EQ(out.temperature, 60.0f);
    EXPECT_FLOAT_EQ(out.dewPoint, -90.0f);
    EXPECT_FLOAT_EQ(out.pressure, 25.0f);
    EXPECT_FLOAT_EQ(decode("KXYZ 121851Z A3300").pressure, 33.0f);
}

TEST(decodeMetar, readsTheClockWithoutNow)
{
    const std::time_t before = std::time(nullptr);
    std::tm today{};
    gmtime_r(&before, &today);
    char text[32];
    std::snprintf(text, sizeof text, "KXYZ %02d%02d%02dZ", today.tm_mday, today.tm_hour, today.tm_min);
    WMetarReport out;
    EXPECT_EQ(decodeMetar(text, out), L_OK);
    EXPECT_TRUE(out.hasObservationTime);
    if (std::time(nullptr) / 86400 == before / 86400) {
        EXPECT_EQ(out.observationTime, before / 60 * 60);
    }
}

// The order of the groups decides: what a step does not recognise is left to the next one.
TEST(decodeMetar, followsTheGroupOrder)
{
    // A station of five characters blocks the body; only the remarks' hourly group still counts.
    WMetarReport out = decode("KXYZW 121853Z 18010KT 10SM CLR 20/10 A3000 RMK AO2 T02000100");
    EXPECT_FALSE(out.hasObservationTime || out.hasWindSpeed || out.hasPressure);
    EXPECT_FLOAT_EQ(out.temperature, 20.0f);
    EXPECT_FLOAT_EQ(out.dewPoint, 10.0f);

    // A wind without "KT" is no wind, and the visibility step takes it as a whole number before '10SM'.
    out = decode("KXYZ 121853Z 18010MPS 10SM CLR 20/10 A3000");
    EXPECT_FALSE(out.hasWindDirection || out.hasWindSpeed);
    EXPECT_TRUE(out.hasTemperature && out.hasPressure);

    // A metric visibility is no visibility: the body stops there.
    out = decode("KQFT 262130Z AUTO 16002KT 9999 OVC001 16/14 A3004 RMK A02 TSNO");
    EXPECT_EQ(out.windDirection, 160);
    EXPECT_FALSE(out.hasTemperature || out.hasPressure);
    out = decode("KQIR 262058Z 02004KT 9000 HZ CLR 30/25 A2975 RMK AO2A SLP075 T02970249 403690244 56007 $");
    EXPECT_FALSE(out.hasPressure);
    EXPECT_FLOAT_EQ(out.temperature, 29.7f);

    // Any group with a "V" right behind the wind is taken as the variable sector.
    out = decode("KXYZ 121853Z 18010KT VV002 M08/M09 A3002");
    EXPECT_EQ(out.variableFrom, 400);
    EXPECT_FLOAT_EQ(out.temperature, -8.0f);
    EXPECT_FLOAT_EQ(out.pressure, 30.02f);

    // The hourly group counts only behind "RMK", and only the first one.
    out = decode("KXYZ 121853Z 18010KT 10SM CLR 20/10 A3000 T02440122");
    EXPECT_FLOAT_EQ(out.temperature, 20.0f);
    out = decode("KXYZ 121853Z 18010KT 10SM CLR 20/10 A3000 T02440122 RMK AO2");
    EXPECT_FLOAT_EQ(out.temperature, 20.0f);
    out = decode("KXYZ 121853Z 18010KT 10SM CLR 20/10 A3000 RMK AO2 TSB2005E2046 T02440122 T03000200");
    EXPECT_FLOAT_EQ(out.temperature, 24.4f);

    out = decode("KXYZ 121853Z 18010KT 10SM CLR M00/M01 A3000");
    EXPECT_EQ(out.temperature, 0.0f);
    EXPECT_TRUE(std::signbit(out.temperature));
    EXPECT_FLOAT_EQ(out.dewPoint, -1.0f);
}

TEST(decodeMetar, badInputNeverEscapes)
{
    WMetarReport out = decode("");
    EXPECT_FALSE(out.hasObservationTime || out.hasWindSpeed || out.hasTemperature || out.hasPressure);
    out = decode(std::string(1024 * 1024, ' ').c_str());
    EXPECT_FALSE(out.hasObservationTime || out.hasWindSpeed || out.hasTemperature || out.hasPressure);

    // A NUL ends the text: the wind in front of it is the last group.
    const char withNul[] = "KXYZ 121853Z 18010KT\0 10SM CLR 20/10 A3000";
    out = decode(LString(withNul, sizeof withNul - 1));
    EXPECT_EQ(out.windSpeed, 10);
    EXPECT_FALSE(out.hasTemperature);

    for (const char *piece : {"7", "A", "-", "M", "/", "V", "G", "R/", "KT"}) {
        std::string group;
        while (group.size() < 10000)
            group += piece;
        decode(("KXYZ 121853Z " + group + " 20/10 A3000 RMK " + group).c_str());
    }
}

TEST(decodeMetar, decodesTenThousandGroups)
{
    for (const char *group : {"FEW010 ", "R04/2400FT ", "-RA ", "COR ", "1 "}) {
        SCOPED_TRACE(group);
        std::string text = "KXYZ 121853Z 18010KT 10SM ";
        for (int i = 0; i < 10000; ++i)
            text += group;
        text += "M02/M04 A2992 RMK";
        for (int i = 0; i < 10000; ++i)
            text += " T0244";
        const WMetarReport out = decode(text.c_str());
        EXPECT_EQ(out.windSpeed, 10);
        EXPECT_EQ(out.hasPressure, group[0] != 'C' && group[0] != '1');
    }
}

} // namespace
