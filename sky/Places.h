// Where a birth took place: the gazetteer of the world's cities that the birth-place field completes
// from, and latitudes and longitudes as people write them.
//
// The cities are GeoNames' (through Debian's libgeonames, data CC-BY-4.0): each with its state and
// country, coordinates, population and IANA zone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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

    // "Chennai, Tamil Nadu, India": the name a person picks and the one stored with the chart.
    std::string label() const;
};

class Gazetteer {
public:
    // Every city, read once, the first time any caller asks; safe to call from any thread.
    static const Gazetteer& instance();

    // The cities whose name or label begins with `typed` (ignoring case and accents' absence is not
    // promised), the most populous first, at most `limit` of them.
    std::vector<const City*> complete(std::string_view typed, std::size_t limit = 10) const;

    // The city a name stands for: the one whose label is `name`, ignoring case, or else the most
    // populous one called `name`; null for none.
    const City* find(std::string_view name) const;

    std::size_t size() const;

private:
    Gazetteer();
    struct Index;
    std::vector<City> m_cities;
    std::vector<std::uint32_t> m_byName; // indices into m_cities, sorted for prefix search
};

// A latitude or longitude as typed: signed decimal degrees ("13.0827", "-33.87"), decimal degrees with
// the hemisphere ("13.0827 N", "80.2707E"), or degrees, minutes and optionally seconds with it
// ("13°04′58″N", "13°04'58\"N", "80°16′E"). Throws InputError(Field::Latitude or Field::Longitude)
// with a message that says what is wrong and what is taken.
double parseLatitude(std::string_view text);
double parseLongitude(std::string_view text);

// "13.0827 N", "80.2707 E": four decimals (about 11 m), the form the field shows after a city is picked.
std::string latitudeText(double degrees);
std::string longitudeText(double degrees);

} // namespace sky
