#include "sky/Karakas.h"

#include "sky/Longitude.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace sky {

namespace {

constexpr std::array<std::string_view, 8> kAbbreviations{"AK", "AmK", "BK", "MK", "PiK", "PK", "GK", "DK"};
constexpr std::array<std::string_view, 8> kNames{"Atmakaraka",  "Amatyakaraka", "Bhratrikaraka",
                                                 "Matrikaraka", "Pitrikaraka",  "Putrakaraka",
                                                 "Gnatikaraka", "Darakaraka"};

constexpr std::array kEightRoles{Karaka::Atma,  Karaka::Amatya, Karaka::Bhratri, Karaka::Matri,
                                 Karaka::Pitri, Karaka::Putra,  Karaka::Gnati,   Karaka::Dara};
constexpr std::array kSevenRoles{Karaka::Atma,  Karaka::Amatya, Karaka::Bhratri, Karaka::Matri,
                                 Karaka::Putra, Karaka::Gnati,  Karaka::Dara};

// Whole arc-seconds, truncated for every body alike. Rahu's count is 30° less its degree within the
// sign, truncated as it stands: that is 30° less the degree rounded up, not less the degree truncated,
// which would put Rahu up to a second ahead of a body that is in fact ahead of it.
int rankingSeconds(Body body, double longitude) {
    if (body != Body::Rahu)
        return splitLongitude(longitude).secondsInSign();
    constexpr std::int64_t kSecondsPerDegree = 3600;
    const std::int64_t signBegins =
        stepsReached(longitude, kSecondsPerDegree) / kSecondsPerSign * kSecondsPerSign;
    return kSecondsPerSign - static_cast<int>(stepsRoundedUp(longitude, kSecondsPerDegree) - signBegins);
}

} // namespace

std::string_view karakaAbbreviation(Karaka karaka) {
    return kAbbreviations[static_cast<std::size_t>(karaka)];
}

std::string_view karakaName(Karaka karaka) {
    return kNames[static_cast<std::size_t>(karaka)];
}

std::array<KarakaRank, kBodyCount> rankKarakas(const std::array<double, kBodyCount>& longitudes,
                                               KarakaScheme scheme) {
    std::array<KarakaRank, kBodyCount> ranks;
    for (const Body body : kBodies)
        ranks[index(body)].rankingSeconds = rankingSeconds(body, longitudes[index(body)]);
    const auto seconds = [&](Body body) {
        return ranks[index(body)].rankingSeconds;
    };

    // The seven-karaka scheme ranks Sun to Saturn, the first seven bodies. They enter in Body order and
    // the sort is stable, so on an exact tie the earlier body stays ahead.
    const std::span<const Karaka> roles = scheme == KarakaScheme::Eight
                                              ? std::span<const Karaka>(kEightRoles)
                                              : std::span<const Karaka>(kSevenRoles);
    std::array<Body, kBodyCount> order = kBodies;
    const auto ranked = std::span(order).first(roles.size());
    std::stable_sort(ranked.begin(), ranked.end(), [&](Body a, Body b) { return seconds(a) > seconds(b); });

    for (std::size_t rank = 0; rank < ranked.size(); ++rank) {
        ranks[index(ranked[rank])].role = roles[rank];
        if (rank > 0 && seconds(ranked[rank]) == seconds(ranked[rank - 1]))
            ranks[index(ranked[rank])].tied = ranks[index(ranked[rank - 1])].tied = true;
    }
    return ranks;
}

} // namespace sky
