#include "cli/Place.h"

#include "cli/Command.h"
#include "sky/Places.h"
#include "sky/Time.h"

namespace cli {

void addPlaceOptions(CLI::App& command, PlaceOptions& options, const std::string& what) {
    command.add_option(
        "--place", options.place,
        "A city's name (\"Chennai\") or its full name (\"Chennai, Tamil Nadu, India\"); the most populous "
        "city of that name is taken and named in the output, with its time zone unless --zone is given. " +
            what);
    command.add_option(
        "--lat", options.latitude,
        "Latitude instead of --place: signed decimal degrees, north positive (13.0827, -33.8688), or with "
        "the hemisphere (13.0827N, 13°04'58\"N)");
    command.add_option(
        "--lon", options.longitude,
        "Longitude with --lat: signed decimal degrees, east positive (80.2707, -171.76), or with the "
        "hemisphere (80.2707E, 80°16'15\"E)");
}

std::optional<Place> placeFrom(const PlaceOptions& options) {
    if (!options.place.empty() && (!options.latitude.empty() || !options.longitude.empty()))
        throw UsageError(std::string(options.latitude.empty() ? "--lon" : "--lat") +
                         ": not with --place; give a city, or coordinates");
    if (!options.place.empty()) {
        const sky::City* city = sky::Gazetteer::instance().find(options.place);
        if (!city)
            throw UsageError("--place: \"" + options.place +
                             "\" is not a city Velmorant knows; give its name as GeoNames writes it "
                             "(\"Chennai\", \"Chennai, Tamil Nadu, India\"), or --lat and --lon");
        return Place{city->label(), {city->latitude, city->longitude}, city->zone};
    }
    if (options.latitude.empty() && options.longitude.empty())
        return std::nullopt;
    if (options.latitude.empty() || options.longitude.empty())
        throw UsageError(options.latitude.empty() ? "--lat: missing; --lon needs it"
                                                  : "--lon: missing; --lat needs it");
    Place place;
    try {
        place.at.latitude = sky::parseLatitude(options.latitude);
    } catch (const sky::InputError& e) {
        throw UsageError("--lat: " + std::string(e.what()));
    }
    try {
        place.at.longitude = sky::parseLongitude(options.longitude);
    } catch (const sky::InputError& e) {
        throw UsageError("--lon: " + std::string(e.what()));
    }
    return place;
}

} // namespace cli
