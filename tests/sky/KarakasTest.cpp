// Ranking the chara karakas: the order within signs, Rahu counted backwards, ties to the arc-second,
// the two schemes.
#include "sky/Karakas.h"

#include <gtest/gtest.h>

#include <string>

using sky::Body;
using sky::KarakaScheme;

namespace {

constexpr double at(int sign, int degrees, int minutes, double seconds) {
    return sign * 30 + degrees + minutes / 60.0 + seconds / 3600.0;
}

// Roles in Body order (Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn, Rahu), "-" for none, and
// "=" after a tied one.
std::string roles(const std::array<sky::KarakaRank, sky::kBodyCount>& ranks) {
    std::string text;
    for (const auto& rank : ranks)
        text += std::string(text.empty() ? "" : " ") +
                (rank.role ? std::string(sky::karakaAbbreviation(*rank.role)) : "-") + (rank.tied ? "=" : "");
    return text;
}

struct Case {
    const char* what;
    std::array<double, sky::kBodyCount> longitudes;
    KarakaScheme scheme;
    const char* expected;
};

const Case kCases[] = {
    {"degrees within the sign decide, the sign does not",
     {at(0, 10, 0, 0), at(11, 9, 0, 0), at(5, 29, 0, 0), at(3, 1, 0, 0), at(7, 20, 0, 0), at(2, 15, 0, 0),
      at(9, 5, 0, 0), at(4, 26, 0, 0)},
     KarakaScheme::Eight,
     "MK PiK AK DK AmK BK PK GK"},
    {"Rahu at 2° has gone 28° through its sign",
     {at(0, 10, 0, 0), at(0, 11, 0, 0), at(0, 12, 0, 0), at(0, 13, 0, 0), at(0, 14, 0, 0), at(0, 15, 0, 0),
      at(0, 16, 0, 0), at(6, 2, 0, 0)},
     KarakaScheme::Eight,
     "DK GK PK PiK MK BK AmK AK"},
    {"Rahu at 28° has gone only 2°",
     {at(0, 10, 0, 0), at(0, 11, 0, 0), at(0, 12, 0, 0), at(0, 13, 0, 0), at(0, 14, 0, 0), at(0, 15, 0, 0),
      at(0, 16, 0, 0), at(6, 28, 0, 0)},
     KarakaScheme::Eight,
     "GK PK PiK MK BK AmK AK DK"},
    {"seven karakas: Rahu has no role and there is no Pitrikaraka",
     {at(0, 10, 0, 0), at(0, 11, 0, 0), at(0, 12, 0, 0), at(0, 13, 0, 0), at(0, 14, 0, 0), at(0, 15, 0, 0),
      at(0, 16, 0, 0), at(6, 2, 0, 0)},
     KarakaScheme::Seven,
     "DK GK PK MK BK AmK AK -"},
    {"Mars and Venus in the same arc-second: Mars, earlier, ranks higher",
     {at(0, 1, 0, 0), at(0, 2, 0, 0), at(1, 20, 30, 15.1), at(0, 3, 0, 0), at(0, 4, 0, 0),
      at(7, 20, 30, 15.9), at(0, 5, 0, 0), at(0, 29, 30, 0)},
     KarakaScheme::Eight,
     "GK PK AK= PiK MK AmK= BK DK"},
    {"a tenth of a second across a whole second is no tie",
     {at(0, 1, 0, 0), at(0, 2, 0, 0), at(1, 20, 30, 15.95), at(0, 3, 0, 0), at(0, 4, 0, 0),
      at(7, 20, 30, 16.05), at(0, 5, 0, 0), at(0, 29, 30, 0)},
     KarakaScheme::Eight,
     "GK PK AmK PiK MK AK BK DK"},
    {"29°59'59\" leads, 0°00'00\" trails; floating error short of a sign does not carry into the next",
     {at(3, 29, 59, 59.999999), at(0, 0, 0, 0), 89.999999999, at(0, 3, 0, 0), at(0, 4, 0, 0), at(0, 5, 0, 0),
      at(0, 6, 0, 0), at(0, 15, 0, 0)},
     KarakaScheme::Eight,
     "AK= DK AmK= GK PK PiK MK BK"},
    {"Rahu at 0°00'00\" of its sign counts a whole 30° and outranks 29°59'59\"",
     {at(3, 29, 59, 59.5), at(0, 1, 0, 0), at(0, 2, 0, 0), at(0, 3, 0, 0), at(0, 4, 0, 0), at(0, 5, 0, 0),
      at(0, 6, 0, 0), at(8, 0, 0, 0)},
     KarakaScheme::Eight,
     "AmK DK GK PK PiK MK BK AK"},
    // Rahu's 30° - 12°34'56.7" is 17°25'03.3": truncated, the same second as Mars's 17°25'03.5".
    {"Rahu and Mars in the same arc-second, Rahu's count truncated like the others: Mars ranks higher",
     {at(0, 1, 0, 0), at(0, 2, 0, 0), at(4, 17, 25, 3.5), at(0, 3, 0, 0), at(0, 4, 0, 0), at(0, 5, 0, 0),
      at(0, 6, 0, 0), at(10, 12, 34, 56.7)},
     KarakaScheme::Eight,
     "DK GK AK= PK PiK MK BK AmK="},
};

TEST(Karakas, RankWithinTheSign) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(roles(sky::rankKarakas(c.longitudes, c.scheme)), c.expected);
    }
}

TEST(Karakas, RahusRankingValueIsThirtyDegreesLessItsDegree) {
    std::array<double, sky::kBodyCount> longitudes{};
    longitudes[sky::index(Body::Rahu)] = at(10, 12, 34, 56.7);
    const auto ranks = sky::rankKarakas(longitudes);
    // 17°25'03.3", truncated.
    EXPECT_EQ(ranks[sky::index(Body::Rahu)].rankingSeconds, 17 * 3600 + 25 * 60 + 3);
    // Everything else at 0°: seven bodies tied, ranked in Body order behind Rahu.
    EXPECT_EQ(roles(ranks), "AmK= BK= MK= PiK= PK= GK= DK= AK");
}

} // namespace
