// When a quantity of the Sun and Moon crosses a boundary: the moments a tithi, nakshatra, yoga or karana
// began and ends. Each quantity only ever grows (the Moon is never retrograde and always outruns the
// Sun), so each boundary is crossed once per turn, and a search brackets it and halves the bracket.
#pragma once

#include "sky/Ephemeris.h"

#include <date/date.h>

namespace sky {

enum class Quantity {
    Elongation,    // Moon less Sun: tithi and karana
    MoonLongitude, // the Moon's sidereal longitude: nakshatra
    Sum,           // Sun plus Moon, sidereal: yoga
};

// The quantity in degrees, [0, 360).
double quantityAt(Ephemeris& ephemeris, Quantity quantity, double julianDayUt, Ayanamsa ayanamsa);

// The crossing of `boundary` degrees nearest to `moment`, to the minute.
date::sys_seconds crossing(Ephemeris& ephemeris, Quantity quantity, double boundary, date::sys_seconds moment,
                           Ayanamsa ayanamsa);

} // namespace sky
