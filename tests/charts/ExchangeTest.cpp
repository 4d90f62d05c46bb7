// The exchange formats as text: what JSON output escapes, what the chart reader refuses and where, and
// names that are not UTF-8 carried out and back.
#include "charts/Exchange.h"

#include "charts/Json.h"
#include "sky/Ephemeris.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr std::string_view kHeader =
    "name,sun_sign,sun_deg,sun_min,moon_sign,moon_deg,moon_min,ak_sign,ak_deg,ak_min,amk_sign,amk_deg,"
    "amk_min,birth_date,birth_time,birth_zone,ayanamsa,karakas,node\n";
constexpr std::string_view kMeera = ",Taurus,2,28,Capricorn,27,5,Capricorn,27,5,Aquarius,25,59,";
constexpr std::string_view kPositions =
    R"("sun_sign": "Leo", "sun_deg": 1, "sun_min": 1, "moon_sign": "Leo", "moon_deg": 1, "moon_min": 1, )"
    R"("ak_sign": "Leo", "ak_deg": 1, "ak_min": 1, "amk_sign": "Leo", "amk_deg": 1, "amk_min": 1)";

std::string jsonChart(std::string_view name, std::string_view sunDegrees = "1") {
    std::string chart = "{\"name\": \"" + std::string(name) + "\", " + std::string(kPositions) + "}";
    return chart.replace(chart.find("\"sun_deg\": 1"), 12, "\"sun_deg\": " + std::string(sunDegrees));
}

// Every chart of the text, with an ephemeris made at the first need.
std::vector<store::NewChart> readAll(const std::string& text, charts::Format format) {
    std::optional<sky::Ephemeris> ephemeris;
    std::istringstream in(text);
    charts::ChartReader reader(in, format, [&]() -> sky::Ephemeris& {
        if (!ephemeris)
            ephemeris.emplace();
        return *ephemeris;
    });
    std::vector<store::NewChart> charts;
    while (auto chart = reader.next())
        charts.push_back(std::move(*chart));
    return charts;
}

TEST(Json, EscapesWhatAStringMayNotHoldAndKeepsTheRest) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Sun", R"("Sun")"},
        {R"(say "AK")", R"("say \"AK\"")"},
        {R"(C:\ephe)", R"("C:\\ephe")"},
        {"two\nlines\r\tend", R"("two\nlines\r\tend")"},
        {std::string_view("\x01\x1f", 2), R"("\u0001\u001f")"},
        {std::string_view("nul\0", 4), R"("nul\u0000")"},
        {"27°05'11.4\"", R"("27°05'11.4\"")"},
        {"Ra\xffvi\xe0\x80", R"("\\Ra\\xFFvi\\xE0\\x80")"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(charts::jsonString(text), expected);
}

TEST(ChartReader, RefusesMalformedInputAtItsLine) {
    const std::string csv = std::string(kHeader) + "Asha" + std::string(kMeera) + ",,,,,\n";
    const std::string json = "[\n" + jsonChart("Asha") + ",\n";
    const std::string tooLong((std::size_t{1} << 20) + 1, 'a');
    std::string manyLines = "\"";
    for (int i = 0; i < 400'000; ++i)
        manyLines += "ab\n";
    const struct {
        charts::Format format;
        std::string text;
        int line;
        std::string_view saying;
    } cases[] = {
        {charts::Format::Csv, "name,sun_sign,name\n", 1, "the column name twice"},
        {charts::Format::Csv, csv + "\"Ada\"xyz" + std::string(kMeera) + ",,,,,\n", 3, "followed by more"},
        {charts::Format::Csv, csv + "Ad\"a\"" + std::string(kMeera) + ",,,,,\n", 3, "a quote inside"},
        {charts::Format::Csv, csv + "A\rB" + std::string(kMeera) + ",,,,,\n", 3, "carriage return"},
        {charts::Format::Csv, csv + tooLong + "\n", 3, "longer than 1 MiB"},
        {charts::Format::Csv, csv + manyLines, 3, "the chart is longer than 1 MiB"},
        {charts::Format::Csv, csv + "Ra\xffvi" + std::string(kMeera) + ",,,,,\n", 3, "not UTF-8"},
        {charts::Format::Csv, csv + "\\Ravi" + std::string(kMeera) + ",,,,,\n", 3,
         "not written as an export"},
        {charts::Format::Csv, csv + "\\x41" + std::string(kMeera) + ",,,,,\n", 3, "not written as an export"},
        {charts::Format::Csv, csv + "\\Ra\\xFvi" + std::string(kMeera) + ",,,,,\n", 3, "escaped"},
        {charts::Format::Csv,
         csv + "Y" + std::string(kMeera) + "2021-03-14,02:30,America/New_York,lahiri,8,mean\n", 3,
         "birth_time: 2021-03-14 02:30 did not happen"},
        {charts::Format::Csv, csv + "Y" + std::string(kMeera) + "9999-05-17,14:30,UTC,lahiri,8,mean\n", 3,
         "birth_date: positions can be computed only"},
        {charts::Format::Csv,
         csv + "Y" + std::string(kMeera) + "1990-05-17,14:30,Asia/Kolkata,raman,8,mean\n", 3,
         "the birth data puts the Sun at Taurus 3°55', not at Taurus 2°28'"},
        {charts::Format::Json, json + jsonChart("B", "5-3") + "]", 3, "\"5-3\" is not a number"},
        {charts::Format::Json, json + jsonChart("B", "1-") + "]", 3, "\"1-\" is not a number"},
        {charts::Format::Json, json + jsonChart("B", "12--7") + "]", 3, "is not a number"},
        {charts::Format::Json, json + jsonChart("B", "2-1-0") + "]", 3, "is not a number"},
        {charts::Format::Json, json + jsonChart("B", "05") + "]", 3, "is not a number"},
        {charts::Format::Json, json + jsonChart("B", "1.0") + "]", 3,
         "sun_deg must be a whole number from 0 to 29, not \"1.0\""},
        {charts::Format::Json, json + jsonChart("B", "[1]") + "]", 3, "not a list or an object"},
        {charts::Format::Json, json + jsonChart("Ra\xffvi") + "]", 3, "not UTF-8"},
        {charts::Format::Json, json + jsonChart("\\udc00") + "]", 3, "half of a surrogate pair"},
        {charts::Format::Json, json + jsonChart("\\ud800x") + "]", 3, "half of a surrogate pair"},
        {charts::Format::Json, json + jsonChart(tooLong) + "]", 3, "longer than 1 MiB"},
        {charts::Format::Json, json + "{\"name\": \"B\", \"name\": \"C\"}]", 3, "the key name twice"},
        {charts::Format::Json, json + jsonChart("B") + "]\n[]", 4, "more follows"},
        {charts::Format::Json, std::string(100, '[') + std::string(100, ']'), 1, "expected '{'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(c.text.size() > 300 ? c.text.size() - 300 : 0));
        try {
            readAll(c.text, c.format);
            ADD_FAILURE() << "taken";
        } catch (const charts::ReadError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(std::string_view(e.what()).find(c.saying), std::string_view::npos) << e.what();
        }
    }
}

TEST(ChartReader, TakesAByteOrderMarkBlanksAroundFieldsAndBirthDataThatGivesThePositions) {
    const std::string csv = "\xEF\xBB\xBF\"name\"" + std::string(kHeader).substr(4) +
                            "Meera , Taurus ,2, 28,Capricorn,27,5,Capricorn,27,5,Aquarius,25,59, 1990-05-17,"
                            "14:30\t,Asia/Kolkata ,lahiri,8,mean\n";
    const auto charts = readAll(csv, charts::Format::Csv);
    ASSERT_EQ(charts.size(), 1u);
    EXPECT_EQ(charts[0].name, "Meera ") << "a name is kept as it is";
    EXPECT_EQ(charts[0].bodies[0].minutes, "28");
    EXPECT_EQ(charts[0].birth,
              (store::BirthData{"1990-05-17", "14:30", "Asia/Kolkata", "lahiri", 8, "mean"}));
    EXPECT_EQ(readAll("[" + jsonChart("\\ud83d\\ude00 -0") + "]", charts::Format::Json).at(0).name,
              "\xF0\x9F\x98\x80 -0");
}

TEST(ChartReader, NamesThatAreNotUtf8GoOutAsUtf8AndComeBackTheSame) {
    const std::vector<std::string> names{"Ra\xffvi", "\\x41 \xed\xa0\x80", "\\", "\\\\xFF", "Asha"};
    for (const charts::Format format : {charts::Format::Csv, charts::Format::Json}) {
        std::ostringstream out;
        charts::ChartWriter writer(out, format);
        for (const std::string& name : names)
            writer.write({name, {1, "0", "0", 2, "24", "30", 12, "29", "59", 1, "0", "0"}, std::nullopt});
        writer.finish();
        EXPECT_TRUE(charts::isUtf8(out.str())) << out.str();
        std::vector<std::string> back;
        for (const store::NewChart& chart : readAll(out.str(), format))
            back.push_back(chart.name);
        EXPECT_EQ(back, names);
    }
}

} // namespace
