// The chara karakas: the bodies ranked by how far each has advanced within its sign, the sign itself
// ignored. Pure arithmetic on longitudes; no ephemeris.
#pragma once

#include "sky/Options.h"

#include <array>
#include <optional>
#include <string_view>

namespace sky {

// The roles in rank order. The seven-karaka scheme has no Pitrikaraka.
enum class Karaka { Atma, Amatya, Bhratri, Matri, Pitri, Putra, Gnati, Dara };

std::string_view karakaAbbreviation(Karaka karaka); // "AK", "AmK", "BK", "MK", "PiK", "PK", "GK", "DK"
std::string_view karakaName(Karaka karaka);         // "Atmakaraka" ...

struct KarakaRank {
    // What the ranking compares: whole arc-seconds within the sign, as the sign position shows them.
    // Rahu moves backwards, so its count runs back from the end of the sign: 30° less its degree,
    // reckoned exactly and then truncated to the second like every other body's.
    int rankingSeconds = 0;
    std::optional<Karaka> role; // none for Rahu in the seven-karaka scheme
    bool tied = false;          // another ranked body has the same ranking seconds
};

// longitudes: sidereal degrees in Body order. Highest ranking seconds first; on an exact tie the body
// earlier in Body order ranks higher, and both are marked tied.
std::array<KarakaRank, kBodyCount> rankKarakas(const std::array<double, kBodyCount>& longitudes,
                                               KarakaScheme scheme = KarakaScheme::Eight);

} // namespace sky
