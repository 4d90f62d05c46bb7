// The details beside the wheel: for each pair the paksha and the tithi's number in it, how far into
// the tithi, yoga and karana; for the outer pair also the Moon's nakshatra pada, its lord and how far
// into it, and, when the chart came from a birth moment, when each of the four began and ends.
#pragma once

#include "form/Controls.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace form {

// When the outer pair's tithi, nakshatra, yoga and karana at the birth moment began and end, as local
// date and time in the chart's own zone ("2026-12-05 14:32", to the second within a minute of the
// moment).
struct SpanTimes {
    struct Span {
        std::string began;
        std::string ends;
        // The name of the one the moment is in, where a boundary inside the whole arc-minutes makes the
        // captions name another; empty where they agree.
        std::string atMoment;
    };
    Span tithi, nakshatra, yoga, karana;
    std::string zone;
};

// Sun, Moon, AK, AmK in minutes; `nakshatra` the outer pair's nakshatra as its caption names it.
std::vector<std::string> detailsLines(const std::array<int, kBodyRows>& longitudes,
                                      const std::string& nakshatra, const std::optional<SpanTimes>& times);

// Marks a figure that lies within one arc-minute of a boundary, and the line that says what it means.
inline constexpr std::string_view kUncertainMark = "*";
inline constexpr std::string_view kUncertainNote =
    "* Within one arc-minute of a boundary: the positions are whole arc-minutes, so this may belong to the "
    "next span or the one before.";

} // namespace form
