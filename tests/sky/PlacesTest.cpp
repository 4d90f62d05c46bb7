// The birth place: coordinates in the forms people write them, and the gazetteer's cities, found by
// their first letters or by name, in English whatever the user's language.
#include "sky/Places.h"

#include "sky/Time.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <geonames.h>
#include <string>

using sky::Field;

namespace {

enum class Axis { Latitude, Longitude };

double parse(Axis axis, const char* text) {
    return axis == Axis::Latitude ? sky::parseLatitude(text) : sky::parseLongitude(text);
}

struct Reading {
    Axis axis;
    const char* text;
    double degrees;
};

const Reading kReadings[] = {
    {Axis::Latitude, "13.0827", 13.0827},
    {Axis::Latitude, "-33.87", -33.87},
    {Axis::Latitude, "\u221233.87", -33.87}, // the minus sign U+2212
    {Axis::Latitude, " +13.0827 ", 13.0827},
    {Axis::Latitude, "13.0827 N", 13.0827},
    {Axis::Latitude, "33.8688s", -33.8688},
    {Axis::Longitude, "80.2707E", 80.2707},
    {Axis::Longitude, "151.2093 W", -151.2093},
    {Axis::Latitude, "13°04′58″N", 13 + 4 / 60.0 + 58 / 3600.0},
    {Axis::Latitude, "13°04'58\"N", 13 + 4 / 60.0 + 58 / 3600.0},
    {Axis::Latitude, "13° 04' 58'' S", -(13 + 4 / 60.0 + 58 / 3600.0)},
    {Axis::Longitude, "80°16′E", 80 + 16 / 60.0},
    {Axis::Longitude, "80º16.5'E", 80 + 16.5 / 60.0},
    {Axis::Latitude, "-33°52'", -(33 + 52 / 60.0)},
    {Axis::Latitude, "13.5°", 13.5},
    {Axis::Latitude, "90 S", -90},
    {Axis::Longitude, "180W", -180},
};

TEST(Places, ReadsCoordinatesInEachForm) {
    for (const Reading& r : kReadings) {
        SCOPED_TRACE(r.text);
        EXPECT_NEAR(parse(r.axis, r.text), r.degrees, 1e-12);
    }
}

struct Refusal {
    Axis axis;
    const char* text;
    const char* message;
};

#define LATITUDE_FORMS "; enter it as 13.0827 N, -33.8688 or 13°04'58\"N"
#define LONGITUDE_FORMS "; enter it as 80.2707 E, -151.2093 or 80°16'15\"E"

const Refusal kRefusals[] = {
    {Axis::Latitude, " ", "none given" LATITUDE_FORMS},
    {Axis::Latitude, "-13.08 N", "\"-13.08 N\" has both a sign and N; give one of them" LATITUDE_FORMS},
    {Axis::Longitude, "+80.27E", "\"+80.27E\" has both a sign and E; give one of them" LONGITUDE_FORMS},
    {Axis::Latitude, "13.08 E",
     "\"13.08 E\" ends in E, which is east or west; this takes N or S" LATITUDE_FORMS},
    {Axis::Longitude, "80.27 n",
     "\"80.27 n\" ends in N, which is north or south; this takes E or W" LONGITUDE_FORMS},
    {Axis::Latitude, "13°75'N", "\"13°75'N\" has 75 minutes; minutes run from 0 to 59" LATITUDE_FORMS},
    {Axis::Latitude, "13°04'60\"N",
     "\"13°04'60\"N\" has 60 seconds; seconds run from 0 to 59" LATITUDE_FORMS},
    {Axis::Latitude, "90.0001", "\"90.0001\" is beyond 90°; it runs from 90 S to 90 N" LATITUDE_FORMS},
    {Axis::Latitude, "90°00'01\"S",
     "\"90°00'01\"S\" is beyond 90°; it runs from 90 S to 90 N" LATITUDE_FORMS},
    {Axis::Longitude, "180.5 E", "\"180.5 E\" is beyond 180°; it runs from 180 W to 180 E" LONGITUDE_FORMS},
    {Axis::Latitude, "13.5°30'N",
     "\"13.5°30'N\" has decimals before its last part; only the last may have them" LATITUDE_FORMS},
    {Axis::Latitude, "13,08", "\"13,08\" is not understood" LATITUDE_FORMS},
    {Axis::Latitude, "13 04 58 N", "\"13 04 58 N\" is not understood" LATITUDE_FORMS},
    {Axis::Latitude, "13°58\"N", "\"13°58\"N\" is not understood" LATITUDE_FORMS},
    {Axis::Latitude, "N", "\"N\" is not understood" LATITUDE_FORMS},
    {Axis::Longitude, "80.27 X", "\"80.27 X\" is not understood" LONGITUDE_FORMS},
};

TEST(Places, RefusesCoordinatesItCannotTakeAndSaysWhy) {
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.text);
        try {
            parse(r.axis, r.text);
            ADD_FAILURE() << "taken";
        } catch (const sky::InputError& e) {
            EXPECT_EQ(e.field(), r.axis == Axis::Latitude ? Field::Latitude : Field::Longitude);
            EXPECT_STREQ(e.what(), r.message);
        }
    }
}

TEST(Places, WritesCoordinatesToFourDecimalsThatReadBack) {
    EXPECT_EQ(sky::latitudeText(13.08784), "13.0878 N");
    EXPECT_EQ(sky::latitudeText(-33.86882), "33.8688 S");
    EXPECT_EQ(sky::longitudeText(-151.20929), "151.2093 W");
    EXPECT_EQ(sky::longitudeText(80.27847), "80.2785 E");
    EXPECT_EQ(sky::latitudeText(-0.00001), "0.0000 N") << "no south for what rounds to the equator";
    for (const double degrees : {-89.99996, -0.5, 45.12344})
        EXPECT_NEAR(sky::parseLatitude(sky::latitudeText(degrees)), degrees, 0.5e-4);
}

std::string firstLabel(std::string_view typed) {
    const auto found = sky::Gazetteer::instance().complete(typed);
    return found.empty() ? std::string() : found.front()->label();
}

TEST(Places, CompletesCityNamesMostPopulousFirst) {
    EXPECT_EQ(firstLabel("Chenn"), "Chennai, Tamil Nadu, India");
    EXPECT_EQ(firstLabel("  cHENN"), "Chennai, Tamil Nadu, India");
    EXPECT_EQ(firstLabel("Chennai, Tamil"), "Chennai, Tamil Nadu, India") << "the label's own prefix";
    EXPECT_EQ(firstLabel("Sao Pau"), "São Paulo, São Paulo, Brazil") << "accents need not be typed";
    EXPECT_EQ(firstLabel("MÜNCH"), "");
    EXPECT_EQ(firstLabel("munic"), "Munich, Bavaria, Germany");
    EXPECT_EQ(firstLabel("Zzzq"), "");
    EXPECT_EQ(firstLabel(""), "");

    const auto found = sky::Gazetteer::instance().complete("s", 10);
    ASSERT_EQ(found.size(), 10u);
    for (std::size_t i = 1; i < found.size(); ++i)
        EXPECT_GE(found[i - 1]->population, found[i]->population) << found[i]->label();
    EXPECT_TRUE(sky::Gazetteer::instance().complete("s", 0).empty());
}

TEST(Places, FindsACityByItsLabelOrItsName) {
    const sky::Gazetteer& places = sky::Gazetteer::instance();
    EXPECT_GT(places.size(), 20'000u);
    const sky::City* chennai = places.find("chennai, tamil nadu, india");
    ASSERT_NE(chennai, nullptr);
    EXPECT_EQ(chennai->zone, "Asia/Kolkata");
    EXPECT_NEAR(chennai->latitude, 13.08, 0.01);
    EXPECT_NEAR(chennai->longitude, 80.28, 0.01);

    const sky::City* apia = places.find("Apia");
    ASSERT_NE(apia, nullptr);
    EXPECT_EQ(apia->zone, "Pacific/Apia");
    const sky::City* tarawa = places.find("Tarawa");
    ASSERT_NE(tarawa, nullptr);
    EXPECT_EQ(tarawa->zone, "Pacific/Tarawa");
    EXPECT_EQ(tarawa->country, "Kiribati");

    const sky::City* sydney = places.find(" Sydney ");
    ASSERT_NE(sydney, nullptr);
    EXPECT_EQ(sydney->country, "Australia") << "the most populous Sydney";
    EXPECT_LT(sydney->latitude, -33);
    EXPECT_GT(sydney->longitude, 151);

    EXPECT_EQ(places.find("Narnia"), nullptr);
    EXPECT_EQ(places.find(""), nullptr);
    EXPECT_EQ(places.find("Chenn"), nullptr) << "a name is found whole";
}

// libgeonames names its cities in the user's language; the gazetteer's must not follow it, since the
// label is kept with the chart. Run in a process of its own, which reads the gazetteer under German.
TEST(Places, NamesCitiesInEnglishWhateverTheLanguage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("LANGUAGE", "de", 1);
            std::setlocale(LC_ALL, "C.UTF-8");
            const sky::City* munich = sky::Gazetteer::instance().find("Munich");
            // What the library itself says in this thread, which would show a missing translation.
            std::string translated;
            for (int i = 0; munich && i < geonames_get_n_cities(); ++i) {
                GeonamesCity* city = geonames_get_city(i);
                if (geonames_city_get_population(city) == munich->population &&
                    std::string(geonames_city_get_timezone(city)) == munich->zone)
                    translated =
                        geonames_city_get_name(city) + std::string(", ") + geonames_city_get_country(city);
                geonames_city_free(city);
            }
            std::fprintf(stderr, "libgeonames: %s; the gazetteer: %s\n", translated.c_str(),
                         munich ? munich->label().c_str() : "none");
            std::exit(munich && munich->label() == "Munich, Bavaria, Germany" ? 0 : 1);
        },
        testing::ExitedWithCode(0),
        "libgeonames: München, Deutschland; the gazetteer: Munich, Bavaria, Germany");
}

} // namespace
