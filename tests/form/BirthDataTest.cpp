// "Fill positions" and the birth data kept with a chart, on a fake window over a real database.
#include "store/BirthData.h"

#include "almanac/Entries.h"
#include "almanac/Names.h"
#include "form/Reckoning.h"
#include "sky/Crossings.h"
#include "sky/Longitude.h"
#include "support/FakeWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>

using testing_support::Rows;

namespace {

const store::BirthData kBirth{"1990-05-17", "14:30", "Asia/Kolkata", "lahiri", 8, "mean"};

class BirthDataTest : public testing_support::FormOnDatabase {
protected:
    void fill(const store::BirthData& birth) {
        window.birth.fields = birth;
        run(&form::MainForm::cmd_fill_Click);
    }

    // The row chosen in the selectors, as {sign, degrees, minutes}.
    static std::array<int, 3> fromTable(const std::string& longitude) {
        std::smatch parts;
        const std::regex pattern("(\\w+) (\\d+)°(\\d+)'\\d+\"");
        EXPECT_TRUE(std::regex_match(longitude, parts, pattern)) << longitude;
        const auto sign = std::find(almanac::kSignNames.begin(), almanac::kSignNames.end(), parts[1].str());
        return {static_cast<int>(sign - almanac::kSignNames.begin()) + 1, std::stoi(parts[2]),
                std::stoi(parts[3])};
    }
};

TEST_F(BirthDataTest, FillPicksTheSunMoonAkAndAmkAsTheTableShowsThem) {
    start();
    fill(kBirth);
    ASSERT_TRUE(window.messages.empty()) << window.messages.front();
    ASSERT_EQ(window.birth.planets.size(), 9u); // the eight and Ketu
    std::map<std::string, std::string> longitudeOf;
    for (const form::PlanetRow& row : window.birth.planets)
        longitudeOf[row.karaka.empty() ? row.body : row.karaka] = row.longitude;
    const Rows shown = window.shownRows();
    EXPECT_EQ(shown[form::kSun], fromTable(window.birth.planets[0].longitude));
    EXPECT_EQ(shown[form::kMoon], fromTable(window.birth.planets[1].longitude));
    EXPECT_EQ(shown[form::kAk], fromTable(longitudeOf.at("AK")));
    EXPECT_EQ(shown[form::kAmk], fromTable(longitudeOf.at("AmK")));
    EXPECT_EQ(std::count_if(window.birth.planets.begin(), window.birth.planets.end(),
                            [](const form::PlanetRow& row) { return row.chosen; }),
              2);
    EXPECT_EQ(window.birth.notes.front(), "Moment in UT: 1990-05-17T09:00:00Z");
}

TEST_F(BirthDataTest, BadInputIsOneMessageNamingTheFieldAndChangesNothing) {
    start();
    const struct {
        store::BirthData birth;
        const char* begins;
    } cases[] = {
        {{"", "14:30", "Asia/Kolkata", "lahiri", 8, "mean"}, "Birth date: none given"},
        {{"2023-02-29", "14:30", "Asia/Kolkata", "lahiri", 8, "mean"},
         "Birth date: 2023-02-29 does not exist"},
        {{"1990-05-17", "24:00", "Asia/Kolkata", "lahiri", 8, "mean"},
         "Birth time: 24:00 is not a time of day"},
        {{"1990-05-17", "12:60", "Asia/Kolkata", "lahiri", 8, "mean"},
         "Birth time: 12:60 is not a time of day"},
        {{"2021-03-14", "02:30", "America/New_York", "lahiri", 8, "mean"}, "Birth time: 2021-03-14 02:30"},
        {{"1990-05-17", "14:30", "Mars/Olympus", "lahiri", 8, "mean"}, "Time zone: no time zone is named"},
        {{"3001-01-01", "14:30", "+05:30", "lahiri", 8, "mean"},
         "Birth date: positions can be computed only"},
        {{"-44-03-15", "14:30", "+05:30", "lahiri", 8, "mean"},
         "Birth date: \"-44-03-15\" is not a date of the form YYYY-MM-DD, or -YYYY-MM-DD before year 0"},
        {{"1990-05-17", "14:30", "+05:30", "lahiri", 8, "mean", "Xyzzyville"},
         "Birth place: \"Xyzzyville\" is not a city Velmorant knows"},
        {{"1990-05-17", "14:30", "+05:30", "lahiri", 8, "mean", "", "91 N", "80 E"}, "Latitude: "},
        {{"1990-05-17", "14:30", "+05:30", "lahiri", 8, "mean", "Home", "13 N", ""}, "Longitude: none given"},
    };
    const Rows before{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.begins);
        window.messages.clear();
        window.chooseAll(before);
        fill(c.birth);
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_TRUE(window.messages[0].starts_with(c.begins)) << window.messages[0];
        EXPECT_EQ(window.shownRows(), before);
        EXPECT_TRUE(window.birth.planets.empty());
    }
}

// A place named alone is found and written out in full; the lagna leads the table, Ketu ends it, and the
// details say the lagna, sunrise and vara.
TEST_F(BirthDataTest, APlaceAddsTheLagnaAndTheDay) {
    start();
    store::BirthData birth = kBirth;
    birth.place = "chennai";
    birth.zone = "UTC"; // not picked from the list: the city brings its zone, as picking it would
    fill(birth);
    ASSERT_TRUE(window.messages.empty()) << window.messages.front();
    EXPECT_EQ(window.birth.fields.place, "Chennai, Tamil Nadu, India");
    EXPECT_EQ(window.birth.fields.zone, "Asia/Kolkata");
    EXPECT_TRUE(window.birth.fields.latitude.ends_with(" N")) << window.birth.fields.latitude;
    ASSERT_EQ(window.birth.planets.size(), 10u);
    EXPECT_EQ(window.birth.planets.front().body, "Lagna");
    EXPECT_EQ(window.birth.planets.back().body, "Ketu");
    window.txtname().setText("Asha");
    run(&form::MainForm::cmd_calc_Click);
    const std::string details = testing::PrintToString(window.details);
    for (const char* line : {"Lagna: ", "Sunrise: 1990-05-17 05:", "Vara: Guru (Thursday)"})
        EXPECT_NE(details.find(line), std::string::npos) << line << details;
    ASSERT_TRUE(window.chart);
    EXPECT_TRUE(window.chart->lagnaSign);
    EXPECT_EQ(window.chart->points.size(), 10u);

    // The place moves none of the rows: changed after Fill, it is the one saved.
    window.birth.fields.place = "Madurai";
    window.birth.fields.latitude = "9.9252 N";
    window.birth.fields.longitude = "78.1198 E";
    run(&form::MainForm::rowsEdited);
    EXPECT_EQ(window.birth.rowsSource, "The Sun, Moon, AK and AmK rows come from this moment.");
    run(&form::MainForm::cmd_save_Click);
    EXPECT_EQ(testing_support::queryColumn(path, "select place || ' ' || latitude from birth_data"),
              std::vector<std::string>{"Madurai 9.9252 N"});
}

TEST_F(BirthDataTest, ASaveKeepsTheBirthDataWhileTheRowsAreAsFilledAndRecallBringsItBack) {
    start("drop table birth_data"); // a file from before birth data
    save("typed by hand", Rows{{{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}}});
    EXPECT_FALSE(
        testing_support::queryColumn(path, "select name from sqlite_schema where name = 'birth_data'")
            .size());

    fill(kBirth);
    window.name.value = "filled";
    run(&form::MainForm::cmd_save_Click);
    fill(kBirth);
    EXPECT_EQ(window.birth.rowsSource, form::kRowsFromMomentNote);
    window.birth.fields.time = "15:00";
    run(&form::MainForm::rowsEdited);
    EXPECT_EQ(window.birth.rowsSource, form::momentChangedNote(kBirth)) << "a moment typed after the fill";
    window.minutes[form::kAmk].setListIndex(window.minutes[form::kAmk].selected == 1 ? 2 : 1);
    run(&form::MainForm::rowsEdited);
    EXPECT_EQ(window.birth.rowsSource, form::kRowsChangedNote) << "the tab no longer claims the rows";
    window.name.value = "changed after filling";
    run(&form::MainForm::cmd_save_Click);
    EXPECT_EQ(testing_support::queryColumn(path, "select name || ' ' || birth_zone from birth_data"
                                                 " join Int_Velmorant on chart = Int_Velmorant.rowid"),
              std::vector<std::string>{"filled Asia/Kolkata"});

    select(1);
    EXPECT_EQ(window.birth.fields, kBirth);
    EXPECT_EQ(window.birth.planets.size(), 9u);
    select(0);
    EXPECT_EQ(window.birth.fields.date, "") << "a chart without birth data clears the group";
    EXPECT_EQ(window.birth.rowsSource, "");
    EXPECT_TRUE(window.birth.planets.empty());
    select(1);
    window.name.value = "copy of filled";
    run(&form::MainForm::cmd_save_Click);
    EXPECT_EQ(testing_support::queryColumn(path, "select count(*) from birth_data"),
              std::vector<std::string>{"2"})
        << "a recalled chart's rows still come from its birth data";
}

// The four body rows in whole arc-minutes, as "Fill positions" selects them.
std::array<int, form::kBodyRows> rowMinutes(const charts::Reckoning& reckoning) {
    std::array<int, form::kBodyRows> longitudes{};
    for (std::size_t row = 0; row < longitudes.size(); ++row)
        longitudes[row] = sky::arcMinute(reckoning.rowLongitudes()[row]);
    return longitudes;
}

// Moments a few seconds from a boundary that lies inside the rows' arc-minutes, so that the rows name
// one tithi, yoga or karana and the moment another: the times shown are those of the moment's, which
// began at or before it and end after it, and its line says so. (A nakshatra's boundaries are whole
// arc-minutes of the Moon, so the rows always name the moment's.)
TEST_F(BirthDataTest, SpanTimesHoldTheBirthMomentAndNameItsOwnWhereTheRowsDiffer) {
    start();
    sky::Ephemeris ephemeris;
    const struct {
        store::BirthData birth;
        std::vector<std::string> noted; // the lines that name the moment's own
        const char* name = nullptr;     // the name they give, where checked
    } cases[] = {
        // The yoga began seconds before; the rows, a minute short in their sum, still give Parigha.
        {{"1987-03-24", "11:55:22", "Etc/UTC", "lahiri", 8, "mean"}, {"Yoga"}, "Shiva"},
        {{"1956-04-01", "16:54:32", "Asia/Kolkata", "lahiri", 8, "mean"}, {"Yoga"}},
        {{"-0043-03-13", "21:37:22", "Etc/UTC", "lahiri", 8, "mean"}, {"Yoga"}}, // Ides of March, 44 BCE
        // Seconds before a new tithi, and so a new karana, which the rows already give.
        {{"2004-08-01", "14:52:27", "Etc/UTC", "lahiri", 8, "mean"}, {"Tithi", "Karana"}},
        // Seconds before the second karana of a tithi.
        {{"2004-08-01", "04:26:07", "Etc/UTC", "lahiri", 8, "mean"}, {"Karana"}},
    };
    for (const auto& c : cases) {
        const std::string moment = c.birth.date + " " + c.birth.time;
        SCOPED_TRACE(moment + " " + c.birth.zone);
        const charts::Reckoning reckoning = charts::reckon(c.birth, ephemeris);
        const std::array<int, form::kBodyRows> longitudes = rowMinutes(reckoning);
        const std::vector<std::string> lines = form::detailsLines(
            longitudes, "", form::spanTimes(reckoning, c.birth, longitudes, ephemeris, db));
        const std::regex spanLine("  (\\w+) began (\\S+ \\S+) \\S+, ends (\\S+ \\S+) \\S+"
                                  "(?: \\(at the birth moment: (.+)\\))?");
        // "YYYY-MM-DD HH:MM" is the whole minute: compared as text with seconds, it sorts first.
        std::vector<std::string> noted;
        int spans = 0;
        for (const std::string& line : lines) {
            std::smatch parts;
            if (!std::regex_match(line, parts, spanLine))
                continue;
            ++spans;
            EXPECT_LE(parts[2].str(), moment) << line;
            EXPECT_GT(parts[3].str(), moment) << line;
            if (parts[4].matched) {
                noted.push_back(parts[1]);
                if (c.name) {
                    EXPECT_EQ(parts[4].str(), c.name);
                }
            }
        }
        EXPECT_EQ(spans, 4);
        EXPECT_EQ(noted, c.noted);
    }
}

} // namespace

// The moments a tithi, nakshatra, yoga and karana began and end, against a slow reference that steps the
// ephemeris minute by minute: the span of the tithi holds the end of daylight time in New York.
TEST_F(BirthDataTest, SpanTimesAgreeWithAMinuteByMinuteWalkAcrossAClockChange) {
    start();
    const store::BirthData birth{"2021-11-07", "03:00", "America/New_York", "lahiri", 8, "mean"};
    sky::Ephemeris ephemeris;
    const charts::Reckoning reckoning = charts::reckon(birth, ephemeris);
    const std::array<int, form::kBodyRows> longitudes = rowMinutes(reckoning);
    const form::SpanTimes times = form::spanTimes(reckoning, birth, longitudes, ephemeris, db);

    const sky::Zone zone = sky::Zone::parse(birth.zone);
    const struct {
        const char* what;
        sky::Quantity quantity;
        double degreesEach;
        const form::SpanTimes::Span& span;
    } spans[] = {{"tithi", sky::Quantity::Elongation, 12, times.tithi},
                 {"nakshatra", sky::Quantity::MoonLongitude, 40.0 / 3, times.nakshatra},
                 {"yoga", sky::Quantity::Sum, 40.0 / 3, times.yoga},
                 {"karana", sky::Quantity::Elongation, 6, times.karana}};
    for (const auto& s : spans) {
        SCOPED_TRACE(s.what);
        const auto indexAt = [&](date::sys_seconds at) {
            return static_cast<int>(
                sky::quantityAt(ephemeris, s.quantity, sky::julianDay(at), sky::Ayanamsa::Lahiri) /
                s.degreesEach);
        };
        const int current = indexAt(reckoning.ut);
        date::sys_seconds began = reckoning.ut;
        while (indexAt(began - std::chrono::minutes(1)) == current)
            began -= std::chrono::minutes(1);
        date::sys_seconds ends = reckoning.ut;
        while (indexAt(ends) == current)
            ends += std::chrono::minutes(1);
        // The walk finds the first whole minute inside the span and the first one past it; the search
        // rounds the crossing to the nearest minute, so the two agree within a minute.
        const auto within = [&](const std::string& shown, date::sys_seconds walked) {
            return shown == zone.localTime(walked) ||
                   shown == zone.localTime(walked - std::chrono::minutes(1));
        };
        EXPECT_TRUE(within(s.span.began, began)) << s.span.began << " against " << zone.localTime(began);
        EXPECT_TRUE(within(s.span.ends, ends)) << s.span.ends << " against " << zone.localTime(ends);
    }
    EXPECT_TRUE(times.tithi.began.ends_with("-04:00") && times.tithi.ends.ends_with("-05:00"))
        << times.tithi.began << " to " << times.tithi.ends;
}
