// Positions reckoned from a birth moment: the moment in UT, the eight bodies and their chara karakas,
// and, where there is a place, the lagna and the Hindu day there. What Fill positions fills the rows
// from, what an import holds a chart's positions to, and what velmorant-cli positions writes.
#pragma once

#include "almanac/Entries.h"
#include "sky/Ephemeris.h"
#include "sky/Horizon.h"
#include "sky/Karakas.h"
#include "sky/Time.h"
#include "store/BirthData.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace charts {

struct Reckoning {
    date::sys_seconds ut;
    sky::Frame frame;
    sky::Positions positions;
    std::array<sky::KarakaRank, sky::kBodyCount> ranks;
    sky::Body ak = sky::Body::Sun;  // the Atmakaraka
    sky::Body amk = sky::Body::Sun; // the Amatyakaraka

    // Where there is a place: what it is called, where it is, the lagna's sidereal longitude, and the
    // Hindu day of the moment.
    struct Place {
        std::string name;
        sky::GeoPoint at;
        double lagna = 0;
        sky::HinduDay day;
    };
    std::optional<Place> place;

    // The sidereal longitude of each body row: Sun, Moon, AK, AmK.
    std::array<double, almanac::kBodyCaptions.size()> rowLongitudes() const;
};

// A moment as given, and what to reckon it with.
struct Moment {
    std::string_view date; // YYYY-MM-DD
    std::string_view time; // HH:MM or HH:MM:SS
    std::string_view zone; // a zone name or an offset
    sky::Frame frame;
    sky::KarakaScheme karakas = sky::KarakaScheme::Eight;
};

// The moment, its bodies and their karakas; no place. The date is read first, then the time, then the
// zone. Throws sky::InputError naming the field that cannot be taken, sky::OutOfRange for a moment no
// theory covers.
Reckoning reckon(const Moment& moment, sky::Ephemeris& ephemeris);

// Adds the place `name` at `at`: the lagna at the moment, and the Hindu day there by the clocks of
// `zone`, the moment's zone.
void reckonPlace(Reckoning& reckoning, std::string name, sky::GeoPoint at, const sky::Zone& zone,
                 sky::Ephemeris& ephemeris);

// Birth data as the window and an import take it, with its place: the coordinates as typed (named by
// them where no name is given), or else the city the name stands for. Choices stored under a key this
// program does not know fall back to the defaults. Throws as reckon() does; a place that cannot be
// taken is an InputError naming the latitude, the longitude or the place.
Reckoning reckon(const store::BirthData& birth, sky::Ephemeris& ephemeris);

// A place named without its coordinates made whole, as picking the city from the list would: its full
// name and coordinates, and with `takeZone` its zone too. False where no city has that name; nothing
// changes where coordinates are given or there is no place.
bool completePlace(store::BirthData& birth, bool takeZone);

} // namespace charts
