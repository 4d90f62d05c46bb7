#include "charts/Reckoning.h"

#include "charts/Texts.h"
#include "sky/Longitude.h"
#include "sky/Places.h"

namespace charts {

namespace {

// Where the birth took place: the coordinates as typed, or else the city the name stands for.
Reckoning::Place placeOf(const store::BirthData& birth) {
    Reckoning::Place place;
    if (!birth.latitude.empty() || !birth.longitude.empty()) {
        if (birth.latitude.empty())
            throw sky::InputError(sky::Field::Latitude, std::string(kNoLatitudeProblem));
        if (birth.longitude.empty())
            throw sky::InputError(sky::Field::Longitude, std::string(kNoLongitudeProblem));
        place.at = {sky::parseLatitude(birth.latitude), sky::parseLongitude(birth.longitude)};
        place.name = birth.place.empty() ? sky::latitudeText(place.at.latitude) + ", " +
                                               sky::longitudeText(place.at.longitude)
                                         : birth.place;
        return place;
    }
    const sky::City* city = sky::Gazetteer::instance().find(birth.place);
    if (!city)
        throw sky::InputError(sky::Field::Place, unknownPlaceProblem(birth.place));
    place.name = city->label();
    place.at = {city->latitude, city->longitude};
    return place;
}

} // namespace

std::array<double, almanac::kBodyCaptions.size()> Reckoning::rowLongitudes() const {
    return {positions[sky::Body::Sun], positions[sky::Body::Moon], positions[ak], positions[amk]};
}

Reckoning reckon(const Moment& moment, sky::Ephemeris& ephemeris) {
    Reckoning r;
    const date::year_month_day day = sky::parseDate(moment.date);
    const std::chrono::seconds timeOfDay = sky::parseTime(moment.time);
    r.ut = sky::universalTime(day, timeOfDay, sky::Zone::parse(moment.zone));
    r.frame = moment.frame;
    r.positions = ephemeris.positions(sky::julianDay(r.ut), r.frame);
    r.ranks = sky::rankKarakas(r.positions.longitudes, moment.karakas);
    for (const sky::Body body : sky::kBodies) {
        const auto& role = r.ranks[sky::index(body)].role;
        if (role == sky::Karaka::Atma)
            r.ak = body;
        else if (role == sky::Karaka::Amatya)
            r.amk = body;
    }
    return r;
}

void reckonPlace(Reckoning& reckoning, std::string name, sky::GeoPoint at, const sky::Zone& zone,
                 sky::Ephemeris& ephemeris) {
    Reckoning::Place place{std::move(name), at, 0, {}};
    place.lagna = sky::lagna(ephemeris, sky::julianDay(reckoning.ut), at, reckoning.frame.ayanamsa);
    place.day = sky::hinduDay(ephemeris, reckoning.ut, zone, at);
    reckoning.place = std::move(place);
}

Reckoning reckon(const store::BirthData& birth, sky::Ephemeris& ephemeris) {
    const Moment moment{birth.date,
                        birth.time,
                        birth.zone,
                        {sky::parseAyanamsa(birth.ayanamsa).value_or(sky::Ayanamsa::Lahiri),
                         sky::parseNode(birth.node).value_or(sky::Node::Mean)},
                        sky::parseKarakaScheme(birth.karakas).value_or(sky::KarakaScheme::Eight)};
    Reckoning r = reckon(moment, ephemeris);
    if (birth.hasPlace()) {
        Reckoning::Place place = placeOf(birth);
        reckonPlace(r, std::move(place.name), place.at, sky::Zone::parse(birth.zone), ephemeris);
    }
    return r;
}

bool completePlace(store::BirthData& birth, bool takeZone) {
    if (birth.place.empty() || !birth.latitude.empty() || !birth.longitude.empty())
        return true;
    const sky::City* city = sky::Gazetteer::instance().find(birth.place);
    if (!city)
        return false;
    birth.place = city->label();
    birth.latitude = sky::latitudeText(city->latitude);
    birth.longitude = sky::longitudeText(city->longitude);
    if (takeZone)
        birth.zone = city->zone;
    return true;
}

} // namespace charts
