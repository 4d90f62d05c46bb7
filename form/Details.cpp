#include "form/Details.h"

#include "almanac/Details.h"

namespace form {

namespace {

std::string percent(const almanac::Progress& progress, bool& anyUncertain) {
    anyUncertain = anyUncertain || progress.uncertain;
    return std::to_string(progress.percent) + "%" + (progress.uncertain ? std::string(kUncertainMark) : "");
}

std::string span(const char* what, const SpanTimes::Span& times) {
    return "  " + std::string(what) + " began " + times.began + ", ends " + times.ends +
           (times.atMoment.empty() ? "" : " (at the birth moment: " + times.atMoment + ")");
}

} // namespace

std::vector<std::string> detailsLines(const std::array<int, kBodyRows>& longitudes,
                                      const std::string& nakshatra, const std::optional<SpanTimes>& times) {
    std::vector<std::string> lines;
    bool anyUncertain = false;
    const char* const headings[] = {"Outer pair (Sun and Moon)", "Inner pair (AK and AmK)"};
    for (const int pair : {kExternal, kInternal}) {
        const auto p = static_cast<std::size_t>(pair);
        const int second = longitudes[2 * p + 1];
        const almanac::PairResult result = almanac::computePair(longitudes[2 * p], second);
        const almanac::PairDetails d = almanac::pairDetails(result, second);
        lines.emplace_back(headings[p]);
        const bool pakshaUncertain = d.tithi.uncertain && (d.tithiInPaksha == 1 || d.tithiInPaksha == 15);
        lines.push_back("  " + std::string(almanac::pakshaName(d.paksha)) + " paksha" +
                        (pakshaUncertain ? std::string(kUncertainMark) : "") + ", tithi " +
                        std::to_string(d.tithiInPaksha) + " of 15, " + percent(d.tithi, anyUncertain) +
                        " into the tithi");
        lines.push_back("  Yoga " + percent(d.yoga, anyUncertain) + " in, karana " +
                        percent(d.karana, anyUncertain) + " in");
        if (pair == kExternal) {
            anyUncertain = anyUncertain || d.padaUncertain;
            lines.push_back("  Moon in " + nakshatra + ", pada " + std::to_string(d.pada) +
                            (d.padaUncertain ? std::string(kUncertainMark) : "") + ", lord " +
                            std::string(almanac::vimshottariLord(result.nakshatra)) + ", " +
                            percent(d.nakshatra, anyUncertain) + " into the nakshatra");
            if (times) {
                lines.push_back("  Times in " + times->zone + ":");
                lines.push_back(span("Tithi", times->tithi));
                lines.push_back(span("Nakshatra", times->nakshatra));
                lines.push_back(span("Yoga", times->yoga));
                lines.push_back(span("Karana", times->karana));
            }
        }
    }
    if (anyUncertain)
        lines.emplace_back(kUncertainNote);
    return lines;
}

} // namespace form
