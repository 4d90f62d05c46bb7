// Where a command reckons from: a city by --place, or coordinates by --lat and --lon. Written once for
// every command that takes a place.
#pragma once

#include "sky/Horizon.h"

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace cli {

struct PlaceOptions {
    std::string place;
    std::string latitude;
    std::string longitude;
};

// Adds --place, --lat and --lon to `command`; `what` ends --place's help ("Adds the lagna, ...").
void addPlaceOptions(CLI::App& command, PlaceOptions& options, const std::string& what);

struct Place {
    std::string name; // the city's full name; empty for coordinates alone
    sky::GeoPoint at;
    std::string zone; // the city's own zone; empty for coordinates alone
};

// The place the options give; none where they give none. Throws UsageError naming the option at fault:
// an unknown city, a coordinate that cannot be read or is out of range, one of --lat and --lon alone,
// either of them with --place.
std::optional<Place> placeFrom(const PlaceOptions& options);

} // namespace cli
