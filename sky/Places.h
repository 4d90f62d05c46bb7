// Where a birth took place: the gazetteer of the world's cities that the birth-place field completes
// from, and latitudes and longitudes as people write them.
//
// The cities are GeoNames' (through Debian's libgeonames, data CC-BY-4.0): each with its state and
// country, coordinates, population and IANA zone. Their names are read in English whatever the
// user's language, so that the label kept with a chart reads the same for everyone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sky {

struct City {
    std::string name;     // "Chennai"
    std::string state;    // "Tamil Nadu"; empty where GeoNames gives none
    std::string country;  // "India"
    std::string zone;     // "Asia/Kolkata"
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
    std::uint32_t population = 0;

    // "Chennai, Tamil Nadu, India", or "Name, Country" where there is no state: the name a person picks
    // and the one stored with the chart.
    std::string label() const;
};

class Gazetteer {
public:
    // Every city, read once, the first time any caller asks (some 90 ms); safe to call from any thread,
    // a second caller waiting for the first to finish.
    static const Gazetteer& instance();

    // The cities whose name or label begins with `typed`, the most populous first, at most `limit` of
    // them. Letters are compared without case and without accents ("sao" finds São Paulo, "koln"
    // Köln); blanks before the text are ignored.
    std::vector<const City*> complete(std::string_view typed, std::size_t limit = 10) const;

    // The city a name stands for: the one whose label is `name` (compared as complete() does), or else
    // the most populous one called `name`; null for none.
    const City* find(std::string_view name) const;

    std::size_t size() const { return m_cities.size(); }

    Gazetteer(const Gazetteer&) = delete;
    Gazetteer& operator=(const Gazetteer&) = delete;

private:
    Gazetteer();

    // The cities whose key begins with `prefix`, in the order of m_byKey.
    std::pair<const std::uint32_t*, const std::uint32_t*> withPrefix(std::string_view prefix) const;

    std::vector<City> m_cities;
    std::vector<std::string> m_keys;    // each city's label as compared: lower case, no accents
    std::vector<std::uint32_t> m_byKey; // indices into m_cities by key, then the most populous first
};

// A latitude or longitude as typed: signed decimal degrees ("13.0827", "-33.87"), decimal degrees with
// the hemisphere ("13.0827 N", "80.2707E"), or degrees, minutes and optionally seconds, with a sign or
// the hemisphere ("13°04′58″N", "13°04'58\"N", "80°16′E", "-33°52'"). Throws
// InputError(Field::Latitude or Field::Longitude) with a message that says what is wrong and which
// forms are taken, without naming the field.
double parseLatitude(std::string_view text);
double parseLongitude(std::string_view text);

// "13.0827 N", "80.2707 E", "33.8688 S": four decimals (about 11 m), the form the fields show after a
// city is picked; parseLatitude() and parseLongitude() read them back.
std::string latitudeText(double degrees);
// Signed, for machines: "-33.8688", to the same four decimals.
std::string signedDegreesText(double degrees);
std::string longitudeText(double degrees);

} // namespace sky
