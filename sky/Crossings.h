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

// Which of `count` spans of `each` degrees the quantity stands in: the last whose first boundary, as
// crossing() is given it, the quantity has reached. Dividing alone could round up onto a boundary not
// yet reached.
int spanIndex(double quantity, double each, int count);

// The quantity in degrees, [0, 360).
double quantityAt(Ephemeris& ephemeris, Quantity quantity, double julianDayUt, Ayanamsa ayanamsa);

// A crossing of `boundary` degrees: the last one at or before `moment` where the quantity then has
// reached the boundary (stands up to half a circle past it), else the first one after. Given as the
// first whole second at which the boundary is reached, so that a crossing before `moment` is never
// later than it, nor one after it earlier; rounding it for display is the caller's choice.
date::sys_seconds crossing(Ephemeris& ephemeris, Quantity quantity, double boundary, date::sys_seconds moment,
                           Ayanamsa ayanamsa);

} // namespace sky
