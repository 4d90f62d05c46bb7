#include "sky/Crossings.h"

#include "sky/Longitude.h"
#include "sky/Time.h"

#include <algorithm>
#include <cmath>

namespace sky {

namespace {

using std::chrono::seconds;

// How far past the boundary the quantity stands, -180..180 degrees.
double pastBoundary(Ephemeris& ephemeris, Quantity quantity, double boundary, date::sys_seconds moment,
                    Ayanamsa ayanamsa) {
    const double past = quantityAt(ephemeris, quantity, julianDay(moment), ayanamsa) - boundary;
    return std::remainder(past, 360.0);
}

} // namespace

int spanIndex(double quantity, double each, int count) {
    int index = std::min(static_cast<int>(quantity / each), count - 1);
    if (quantity < index * each)
        --index;
    else if (index + 1 < count && quantity >= (index + 1) * each)
        ++index;
    return index;
}

double quantityAt(Ephemeris& ephemeris, Quantity quantity, double julianDayUt, Ayanamsa ayanamsa) {
    if (quantity == Quantity::MoonLongitude)
        return ephemeris.longitude(Body::Moon, julianDayUt, {ayanamsa, Node::Mean});
    const SunMoon at = ephemeris.sunMoon(julianDayUt, ayanamsa);
    return normalizedDegrees(quantity == Quantity::Elongation ? at.moon - at.sun : at.moon + at.sun);
}

date::sys_seconds crossing(Ephemeris& ephemeris, Quantity quantity, double boundary, date::sys_seconds moment,
                           Ayanamsa ayanamsa) {
    // Each quantity moves 10 to 17 degrees a day, so six-hour steps never pass a boundary unseen and the
    // value stays far from the opposite point, where the sign of pastBoundary flips.
    constexpr seconds kStep{6 * 3600};
    const auto past = [&](date::sys_seconds at) {
        return pastBoundary(ephemeris, quantity, boundary, at, ayanamsa);
    };
    date::sys_seconds before = moment;
    date::sys_seconds after = moment;
    if (past(moment) >= 0)
        while (past(before) >= 0)
            before -= kStep;
    else
        while (past(after) < 0)
            after += kStep;
    if (before == moment)
        before = after - kStep;
    else
        after = before + kStep;
    // The boundary is not yet reached at `before` and reached at `after`, which never passes `moment`
    // when the search went back from it.
    while (after - before > seconds(1)) {
        const date::sys_seconds middle = before + (after - before) / 2;
        (past(middle) < 0 ? before : after) = middle;
    }
    return after;
}

} // namespace sky
