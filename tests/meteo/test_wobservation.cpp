#include "meteo/base/wobservation.h"

#include "corekit/lstring.h"
#include "meteo/reader/wmetar_p.h"
#include "meteo/reader/wmetarobservation_p.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace corekit;
using namespace meteo;

namespace
{

void appendTo(std::string &text, const char *separator, const std::string &part)
{
    if (!text.empty())
        text += separator;
    text += part;
}

// The record as one line per field, codes kept apart: "-|FZ|RA: light freezing rain; |FZ|FG: freezing fog".
std::string weatherOf(const WObservation &observation)
{
    std::string text;
    for (const WWeather &weather : observation.weather) {
        std::string phenomena;
        for (const std::string &code : weather.phenomena)
            appendTo(phenomena, "+", code);
        appendTo(text, "; ", weather.intensity);
        text.append("|").append(weather.descriptor).append("|").append(phenomena).append(": ").append(weather.text);
    }
    return text;
}

// "BKN 800 CB, OVC 3500"; "OVC ///" for a height the station could not measure.
std::string skyOf(const WObservation &observation)
{
    std::string text;
    for (const WSkyLayer &layer : observation.sky) {
        appendTo(text, ", ", layer.cover);
        if (layer.cover != "CLR" && layer.cover != "SKC")
            text.append(" ").append(layer.heightFt ? std::to_string(*layer.heightFt) : std::string("///"));
        if (!layer.cloud.empty())
            text.append(" ").append(layer.cloud);
    }
    return text;
}

// Miles to four figures, "<" for less than and ">" for more than: ">6.214" for '9999'.
std::string visibilityOf(const WObservation &observation)
{
    if (!observation.visibilityMi)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", static_cast<double>(*observation.visibilityMi));
    const char *bound = "";
    if (observation.visibilityBound != WBound::Exact)
        bound = observation.visibilityBound == WBound::Below ? "<" : ">";
    return std::string(bound).append(text);
}

struct ObservedReport {
    const char *text;
    const char *visibility; // miles
    const char *weather;
    const char *sky;
    int ceilingFt; // -1 for none
};

void expectObserved(const ObservedReport &row)
{
    SCOPED_TRACE(row.text);
    const WObservation observation = readObservation(row.text);
    EXPECT_EQ(visibilityOf(observation), row.visibility);
    EXPECT_EQ(weatherOf(observation), row.weather);
    EXPECT_EQ(skyOf(observation), row.sky);
    EXPECT_EQ(observation.ceilingFt.value_or(-1), row.ceilingFt);
    EXPECT_FALSE(observation.humidityPct || observation.heatIndexC || observation.windChillC);
}

// From reports-sample.txt (see its README): every present-weather group of the sample, whole and mixed miles,
// 'M1/4SM', metres ('9999', '9000', '6000'), vertical visibility, several layers, 'CLR', 'SKC', automatic
// stations, a report without visibility or sky, and runway ranges between visibility and weather.
const ObservedReport realReports[] = {
    {"KSTF 262135Z AUTO 06006KT 10SM SCT070 28/16 A3007 RMK AO2", "10", "", "SCT 7000", -1},
    {"KPHT 262135Z AUTO 04006KT 10SM FEW050 27/15 A3013 RMK", "10", "", "FEW 5000", -1},
    {"KLUX 262135Z AUTO 04004KT 7SM RA OVC016 20/20 A3018 RMK AO2", "7", "||RA: rain", "OVC 1600", 1600},
    {"KIMM 262135Z AUTO 00000KT 1 1/4SM BKN001 OVC011 23/ A2996 RMK A01 P001", "1.25", "", "BKN 100, OVC 1100", 100},
    {"KQFT 262130Z AUTO 16002KT 9999 OVC001 16/14 A3004 RMK A02 TSNO", ">6.214", "", "OVC 100", 100},
    {"KQEW 262130Z AUTO 27001KT 9999 BKN003 14/12 A3008 RMK A02 TSNO", ">6.214", "", "BKN 300", 300},
    {"K40B 262116Z AUTO VRB04G11KT 22/09 A3010 RMK AO1 SLP189 T02240090 57015", "", "", "", -1},
    {"KILE 262115Z AUTO 15007KT 10SM SCT055 29/16 A3004 RMK AO1", "10", "", "SCT 5500", -1},
    {"KMQJ 262115Z AUTO 06004KT 10SM CLR 27/02 A3020 RMK AO1", "10", "", "CLR", -1},
    {"KAUO 262115Z 05008KT 10SM CLR 26/16 A3012 RMK AO1", "10", "", "CLR", -1},
    {"K0VG 262115Z AUTO 00000KT 10SM CLR 27/15 A3017 RMK AO2", "10", "", "CLR", -1},
    {"KUSE 262115Z AUTO 06006KT 10SM CLR 25/13 A3025 RMK AO2", "10", "", "CLR", -1},
    {"KHQI 262115Z AUTO 05021KT M1/4SM FZFG BKN024 OVC033 A2997 RMK A01", "<0.25", "|FZ|FG: freezing fog",
        "BKN 2400, OVC 3300", 2400},
    {"KQIR 262058Z 02004KT 9000 HZ CLR 30/25 A2975 RMK AO2A SLP075 T02970249 403690244 56007 $", "5.592", "||HZ: haze",
        "CLR", -1},
    {"KMCF 262058Z AUTO 08014KT 10SM VCTS CLR 29/25 A2994 RMK AO2 LTG DSNT N-NE TSB2005E2046 SLP142 P0001 60001 "
     "T02920254 55012",
        "10", "VC|TS|: thunderstorm in the vicinity", "CLR", -1},
    {"PALG 262056Z AUTO 12006KT CLR 07/M01 RMK AO2 PWINO TSNO 5//// T00721005 SLPNO $", "", "", "CLR", -1},
    {"KQRH 262055Z AUTO 21002KT 9999 CLR 31/25 A2977 RMK AO2 SLP078 T03140249 50003 $", ">6.214", "", "CLR", -1},
    {"PARC 180756Z AUTO 00000KT 10SM OVC011 M18/M18 A2952 RMK AO1", "10", "", "OVC 1100", 1100},
    {"KILE 180755Z AUTO 06005KT 1 3/4SM OVC002 08/05 A3008 RMK AO1", "1.75", "", "OVC 200", 200},
    {"KPVJ 180755Z AUTO 17006KT 5SM BR OVC003 03/03 A3013 RMK AO2 T00290025", "5", "||BR: mist", "OVC 300", 300},
    {"PATL 180755Z AUTO 11006KT 2 1/2SM BR OVC003 M10/M11 A2963 RMK AO2 SLP059 T11021109 $", "2.5", "||BR: mist",
        "OVC 300", 300},
    {"PALU 180755Z AUTO 12008KT 10SM -SN OVC060 M15/M17 A2971 RMK AO2 SNB0555 SLP061 P0000 T11481171", "10",
        "-||SN: light snow", "OVC 6000", 6000},
    {"KCFS 180754Z AUTO 27010KT 5SM BR BKN008 OVC015 M01/M02 A3015 RMK AO2 T10141023", "5", "||BR: mist",
        "BKN 800, OVC 1500", 800},
    {"KDDH 180754Z AUTO 24007G15KT 2 1/2SM -SN BR BKN009 BKN013 OVC028 00/M02 A2979 RMK AO2 SLP095 P0000 T00001017",
        "2.5", "-||SN: light snow; ||BR: mist", "BKN 900, BKN 1300, OVC 2800", 900},
    {"KLTS 180753Z AUTO 14009KT 1 3/4SM R17R/3500FT BR OVC002 04/04 A3008 RMK AO2", "1.75", "||BR: mist", "OVC 200",
        200},
    {"KLIT 180753Z 10007KT 6SM RA BR OVC060 03/01 A3025 RMK AO2 SLP246 P0002 T00330011", "6", "||RA: rain; ||BR: mist",
        "OVC 6000", 6000},
    {"KFCM 180753Z AUTO 00000KT 9SM CLR M11/M14 A3032 RMK AO2 SLP285 I1000 T11111139", "9", "", "CLR", -1},
    {"KCDR 180753Z AUTO 22004KT 1/4SM FZFG VV002 M08/M09 A3002 RMK AO2 SLP216 I1000 T10831094 $", "0.25",
        "|FZ|FG: freezing fog", "VV 200", 200},
    {"KSHN 180753Z AUTO 00000KT 1 3/4SM BR SCT003 OVC012 07/06 A2991 RMK AO2 RAB35E50 SLP131 P0001 T00670061 400780028",
        "1.75", "||BR: mist", "SCT 300, OVC 1200", 1200},
    {"KSNY 180753Z AUTO 21007KT 1SM BR VV001 M08/M09 A2998 RMK AO2 SLP204 I1000 T10831094", "1", "||BR: mist", "VV 100",
        100},
    {"KMCI 180753Z 08005KT 1SM R19R/P6000FT -SN BR BKN016 OVC022 M02/M03 A3023 RMK AO2 SFC VIS 1 1/4 SLP247 P0005 "
     "T10221033",
        "1", "-||SN: light snow; ||BR: mist", "BKN 1600, OVC 2200", 1600},
    {"KIAB 180753Z AUTO 07008KT 3SM R19/4000FT -SN BR SCT004 OVC016 00/M01 A3014 RMK AO2 RAB0729E0745SNE0729B0745 CIG "
     "004V016",
        "3", "-||SN: light snow; ||BR: mist", "SCT 400, OVC 1600", 1600},
    {"KVLD 180753Z AUTO 00000KT 4SM BR CLR 04/03 A3015 RMK AO2 SLP217 T00390033 $", "4", "||BR: mist", "CLR", -1},
    {"KMWM 180753Z AUTO 00000KT 10SM M15/M16 A3027 RMK AO2", "10", "", "", -1},
    {"KCKV 180752Z AUTO 00000KT 7SM -FZRA OVC080 00/M02 A3028 RMK AO2 RAB12E22UPB22E46FZRAB46 SLP259 P0002 I1001 "
     "T00001022",
        "7", "-|FZ|RA: light freezing rain", "OVC 8000", 8000},
    {"KQEX 180750Z AUTO 35004KT 9999 CLR M00/M18 A3051 RMK A02 TSNO", ">6.214", "", "CLR", -1},
    {"KAQO 180735Z AUTO 00000KT 3SM BR OVC001 10/10 A3013 RMK AO2", "3", "||BR: mist", "OVC 100", 100},
    {"KT82 180735Z AUTO 00000KT 1/4SM FG OVC002 11/11 A3009 RMK AO2 T01100108", "0.25", "||FG: fog", "OVC 200", 200},
    {"KRYW 180735Z AUTO 05004KT 1/4SM DZ OVC003 10/09 A3010 RMK AO2 T00950086", "0.25", "||DZ: drizzle", "OVC 300",
        300},
    {"KJWG 180735Z AUTO 14003KT 2SM UP OVC003 03/03 A3009 RMK AO2 T00280028 TSNO", "2", "||UP: unknown precipitation",
        "OVC 300", 300},
    {"KCCA 180735Z AUTO 00000KT 4SM -RA OVC008 02/01 A3026 RMK AO2 P0001", "4", "-||RA: light rain", "OVC 800", 800},
    {"PAIW 180658Z AUTO 05012KT 6SM -SN BR OVC006 M08/M09 A2964 RMK AO2 SNB13 SLP039 P0000 T10781089 FZRANO", "6",
        "-||SN: light snow; ||BR: mist", "OVC 600", 600},
    {"K4MR 180656Z AUTO 24013G18KT 10SM CLR 04/M01 A3005 RMK AO2 SLP164 T00391012 401311019", "10", "", "CLR", -1},
    {"KQEV 272220Z AUTO 26004KT 6000 -SN OVC018 M03/M04 A2996 RMK A02 TSNO", "3.728", "-||SN: light snow", "OVC 1800",
        1800},
    {"KPLN 272220Z AUTO 26014G24KT 2 1/2SM -SN FEW010 SCT016 OVC050 01/M02 A2935 RMK AO2 P0000 T00061022", "2.5",
        "-||SN: light snow", "FEW 1000, SCT 1600, OVC 5000", 5000},
    {"KMGN 272215Z AUTO 24014G22KT 3/4SM -SN OVC012 00/M01 A2935 RMK AO2 T00001010", "0.75", "-||SN: light snow",
        "OVC 1200", 1200},
    {"KFKS 272215Z AUTO 24015G23KT 10SM -SN SCT008 SCT012 OVC019 02/00 A2947 RMK AO2 T00150000", "10",
        "-||SN: light snow", "SCT 800, SCT 1200, OVC 1900", 1900},
    {"KCCO 272215Z AUTO 00000KT 1 3/4SM RA OVC003 10/10 A3008 RMK AO2 T01000095", "1.75", "||RA: rain", "OVC 300", 300},
    {"KBEA 272215Z AUTO 05006KT 1 1/2SM BR OVC004 10/09 A3014 RMK AO2 T00970088", "1.5", "||BR: mist", "OVC 400", 400},
    {"KANJ 272215Z AUTO 32016G28KT 1 1/2SM -SN BKN015 BKN060 OVC070 M02/M05 A2928 RMK AO2 PK WND 32028/2209 VIS 1V2 "
     "1/2 PRESRR P0003 T10221050",
        "1.5", "-||SN: light snow", "BKN 1500, BKN 6000, OVC 7000", 1500},
    {"K3D2 272215Z AUTO 28010G15KT 10SM BKN047 OVC060 00/M07 A2944 RMK AO2 T00011068", "10", "", "BKN 4700, OVC 6000",
        4700},
    {"PPIZ 272214Z AUTO 01017KT 3SM -SN BR BKN028 OVC034 M18/M20 A2973 RMK AO2 P0000 FZRANO", "3",
        "-||SN: light snow; ||BR: mist", "BKN 2800, OVC 3400", 2800},
    {"KORB 272213Z AUTO 33006G16KT 7SM -SN SCT033 BKN040 OVC047 M01/M06 A2956 RMK AO2", "7", "-||SN: light snow",
        "SCT 3300, BKN 4000, OVC 4700", 4000},
    {"PABR 272203Z 06010KT 4SM -SN FEW026 OVC100 M19/M22 A2970", "4", "-||SN: light snow", "FEW 2600, OVC 10000",
        10000},
    {"KOZR 272200Z AUTO 31003KT 5SM -DZ BR BKN007 OVC011 14/13 A3006 RMK AO2 CIG 007V009 SLP182", "5",
        "-||DZ: light drizzle; ||BR: mist", "BKN 700, OVC 1100", 700},
    {"PAVD 272156Z VRB04KT 3/4SM -SN BR FEW001 BKN012 OVC025 02/M02 A2999 RMK AO2 SLP153 VIS NE 1 1/2 P0000 T00171017 "
     "$",
        "0.75", "-||SN: light snow; ||BR: mist", "FEW 100, BKN 1200, OVC 2500", 1200},
    {"KNXP 272156Z AUTO 28010KT 10SM -RA BKN032 OVC040 07/03 A3014 RMK AO2 RAB46 SLP193 P0000 T00670033 $", "10",
        "-||RA: light rain", "BKN 3200, OVC 4000", 3200},
    {"KNQI 272156Z 03008KT 1SM BR OVC003 14/13 A3013 RMK AO2 DZE52 SLP200 P0000 T01390128 $", "1", "||BR: mist",
        "OVC 300", 300},
    {"PAQT 272153Z AUTO 04007KT 8SM OVC080 M18/M21 A2965 RMK AO2 SLP043 T11831211 TSNO $", "8", "", "OVC 8000", 8000},
    {"KQOA 272150Z 04006G13KT 9999 BKN060 28/18 A2996 RMK A02A SLP108 WND DATA/ALSTG ESTMD T02760184 $", ">6.214", "",
        "BKN 6000", 6000},
    {"KWDG 272145Z 19012KT 10SM SKC 10/M09 A3015", "10", "", "SKC", -1},
    {"KMWA 272145Z 24007KT 20SM CLR 06/M11 A3008", "20", "", "CLR", -1},
};

TEST(readObservation, realReportsFieldByField)
{
    for (const ObservedReport &row : realReports)
        expectObserved(row);
}

// The sample's reports lack some groups that US reports carry; these follow the reports' coding.
TEST(readObservation, groupsBeyondTheSample)
{
    const ObservedReport reports[] = {
        {"KDSM 211854Z 17023G37KT 2 1/2SM -TSRA BR BKN008CB OVC035 24/19 A2951", "2.5",
            "-|TS|RA: thunderstorm, light rain; ||BR: mist", "BKN 800 CB, OVC 3500", 800},
        {"KOKC 051953Z 20015G30KT 1/2SM +TSRAGR SQ FEW010 SCT030TCU BKN050CB 27/21 A2980", "0.5",
            "+|TS|RA+GR: heavy thunderstorm with rain and hail; ||SQ: squalls", "FEW 1000, SCT 3000 TCU, BKN 5000 CB",
            5000},
        {"KICT 052002Z 22020KT P6SM +FC VCSH -SHRA TS FEW040CB", ">6",
            "+||FC: tornado or waterspout; VC|SH|: showers "
            "in the vicinity; -|SH|RA: light rain showers; |TS|: thunderstorm",
            "FEW 4000 CB", -1},
        {"KBIS 101756Z AUTO 33025G35KT 1/16SM +BLSN FZDZ VV/// M12/M14 A2990", "0.0625",
            "+|BL|SN: heavy blowing snow; |FZ|DZ: freezing drizzle", "VV ///", -1},
        {"KABQ 101756Z 27030KT 3SM BLDU DRSA BCFG MIFG PRFG VCFC +DS SS PO FU VA PY IC SG GS PL -PE UP HZ NSW OVC///",
            "3",
            "|BL|DU: blowing dust; |DR|SA: low drifting sand; |BC|FG: patches of fog; |MI|FG: shallow fog; "
            "|PR|FG: partial fog; VC||FC: funnel cloud in the vicinity; +||DS: heavy dust storm; ||SS: sandstorm; "
            "||PO: dust whirls; ||FU: smoke; ||VA: volcanic ash; ||PY: spray; ||IC: ice crystals; ||SG: snow grains; "
            "||GS: small hail; ||PL: ice pellets; -||PE: light ice pellets; ||UP: unknown precipitation; ||HZ: haze; "
            "||: no significant weather",
            "OVC ///", -1},
        {"METAR EGLL 101750Z 24010KT 0000 FG VV001 10/10 Q1012 NOSIG", "<0.03107", "||FG: fog", "VV 100", 100},
        {"SPECI LFPG 101750Z 24010KT CAVOK 20/10 Q1012 TEMPO 3000 RA BKN010", ">6.214", "", "", -1},
    };
    for (const ObservedReport &row : reports)
        expectObserved(row);
}

// Groups the pass does not know are skipped, whatever their place; the remarks' and the trend's codes are not the
// weather now; a whole number counts only in front of a fraction.
TEST(readObservation, unknownAndMalformedGroupsAreSkipped)
{
    const ObservedReport reports[] = {
        {"KXYZ 121853Z 18010KT 2 10SM XX RA5 -/ VC - SHRAXX BKN1 OVC01CB SCTXYZ FEW030X 10/09 RMK AO2 RA FG OVC001",
            "10", "", "", -1},
        {"KXYZ 121853Z 18010KT 1/0SM 10 SM 3 SM 5/SM /2SM 1 1/2 4SM", "4", "", "", -1},
        {"KXYZ 121853Z 18010KT 1/2SM 3SM BKN020 BKN010 1234", "0.5", "", "BKN 2000, BKN 1000", 1000},
        {"KXYZ", "", "", "", -1},
        {"", "", "", "", -1},
        {"   ", "", "", "", -1},
    };
    for (const ObservedReport &row : reports)
        expectObserved(row);
}

// The derived values come from the decoder's values, the remarks' tenths included: 35.0 C and 23.9 C are 53%.
TEST(metarObservation, addsHumidityAndHowItFeels)
{
    const LString hot("KDSM 211854Z 17023G37KT 2 1/2SM -TSRA BR BKN008CB 35/24 A2951 RMK AO2 T03500239");
    WMetarReport decoded;
    decodeMetar(hot, decoded);
    WObservation observation = metarObservation(hot, decoded);
    EXPECT_EQ(weatherOf(observation), "-|TS|RA: thunderstorm, light rain; ||BR: mist");
    ASSERT_TRUE(observation.humidityPct && observation.heatIndexC);
    EXPECT_NEAR(*observation.humidityPct, 52.8f, 0.1f);
    EXPECT_NEAR(*observation.heatIndexC, 41.8f, 0.1f);
    EXPECT_FALSE(observation.windChillC);

    const LString cold("KBIS 101756Z 33025KT 10SM CLR M12/ A2990");
    decodeMetar(cold, decoded);
    observation = metarObservation(cold, decoded);
    EXPECT_FALSE(observation.humidityPct || observation.heatIndexC);
    ASSERT_TRUE(observation.windChillC);
    EXPECT_NEAR(*observation.windChillC, -24.1f, 0.1f);

    const LString damaged("KBIS 101756Z 339999KT 10SM CLR M12/M99 A2990");
    decodeMetar(damaged, decoded);
    observation = metarObservation(damaged, decoded);
    EXPECT_FALSE(observation.humidityPct || observation.windChillC) << "a dew point of -99 C, 999 kt";
}

} // namespace
