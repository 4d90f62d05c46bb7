#include "charts/Lines.h"

#include "almanac/Ascii.h"
#include "almanac/Entries.h"
#include "sky/Options.h"
#include "store/ChartStore.h"
#include "store/Error.h"

#include <cstdio>

namespace charts {

namespace {

std::vector<std::string> columnValues(const store::Table& table, std::string_view name,
                                      std::string_view column, int rows) {
    const std::optional<std::size_t> at = table.columnOf(column);
    if (!at)
        throw store::Error(store::Errc::UnknownField, std::string(name) + "." + std::string(column));
    const auto count = static_cast<std::size_t>(rows);
    if (table.rowCount() < count)
        throw store::Error(store::Errc::ShortTable, name);
    std::vector<std::string> values;
    for (std::size_t row = 0; row < count; ++row)
        values.push_back(store::Field(column, table.at(row, *at)).toText());
    return values;
}

std::vector<std::string> readColumn(const store::ChartStore& chartStore, std::string_view table,
                                    std::string_view column, int rows) {
    return columnValues(chartStore.readTable(table), table, column, rows);
}

} // namespace

NameTables NameTables::read(const store::ChartStore& chartStore) {
    NameTables names;
    names.tithis = readColumn(chartStore, "tithi", "tithi_name", almanac::kTithiCount);
    names.rashis = readColumn(chartStore, "rashi", "rashi_name", almanac::kSignsPerCircle);
    names.nakshatras = readColumn(chartStore, "nakshatra", "nak_name", almanac::kNakshatraCount);
    names.karanas = readColumn(chartStore, "karana", "name", almanac::kKaranaCount);
    const store::Table yoga = chartStore.readTable("yoga");
    const auto yogaNames = columnValues(yoga, "yoga", "name", almanac::kYogaCount);
    const auto lords = columnValues(yoga, "yoga", "lord", almanac::kYogaCount);
    const auto deities = columnValues(yoga, "yoga", "deity", almanac::kYogaCount);
    for (std::size_t row = 0; row < yogaNames.size(); ++row)
        names.yogas.push_back({yogaNames[row], lords[row], deities[row]});
    return names;
}

void pairResults(const almanac::PairResult& pair, ResultNames& names,
                 const std::function<void(const ResultText&)>& each) {
    const std::string tithi = names.tithi(pair.tithi);
    const std::string rashi = names.rashi(pair.elongationSign);
    each({Result::Tithi, almanac::tithiCaption(tithi, pair, rashi),
          almanac::writtenTithi(tithi, pair, rashi)});
    const std::string nakshatra = names.nakshatra(pair.nakshatra);
    each({Result::Nakshatra, nakshatra, nakshatra});
    const almanac::YogaNames yoga = names.yoga(pair.yoga);
    each({Result::Yoga, almanac::yogaCaption(yoga),
          yoga.name + ", lord " + yoga.lord + ", deity " + yoga.deity});
    const std::string karana = names.karana(pair.karana);
    each({Result::Karana, karana, karana});
}

std::string bornText(const store::BirthData& birth) {
    return "Born " + birth.date + " " + birth.time + " " + birth.zone;
}

std::string choicesText(const store::BirthData& birth) {
    const auto ayanamsa = sky::parseAyanamsa(birth.ayanamsa);
    return (ayanamsa ? std::string(sky::ayanamsaLabel(*ayanamsa)) : birth.ayanamsa) + " ayanamsa, " +
           std::to_string(birth.karakas) + " karakas, " + birth.node + " node";
}

std::string signPosition(int minutes) {
    const int sign = minutes / (almanac::kDegreesPerSign * almanac::kMinutesPerDegree);
    char text[64];
    std::snprintf(text, sizeof text, "%s %d°%02d'",
                  std::string(almanac::kSignEntries[static_cast<std::size_t>(sign + 1)]).c_str(),
                  minutes / almanac::kMinutesPerDegree % almanac::kDegreesPerSign,
                  minutes % almanac::kMinutesPerDegree);
    return text;
}

std::optional<int> signOfName(std::string_view name) {
    for (int sign = 1; sign <= almanac::kSignsPerCircle; ++sign)
        if (almanac::sameAsciiLetters(name, almanac::kSignEntries[static_cast<std::size_t>(sign)]))
            return sign;
    if (almanac::sameAsciiLetters(name, "Capricorn"))
        return 10;
    return std::nullopt;
}

} // namespace charts
