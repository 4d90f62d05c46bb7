// The Day tab's logic on a stand-in tab: the checks of the place and the date, the day's table at a
// known place and date, the month's grid, and the place remembered.
#include "form/DayForm.h"

#include "almanac/Names.h"
#include "form/Messages.h"
#include "sky/Ephemeris.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

namespace {

class FakeDayTab final : public form::DayTab {
public:
    form::DayPlace fields;
    std::string date;
    bool month = false;
    std::optional<form::DaySheet> day;
    std::optional<form::MonthSheet> grid;
    std::string note;
    std::vector<std::string> messages;
    std::optional<form::DayField> focused;
    bool later = false;
    form::DayPlace kept;

    form::DayPlace place() const override { return fields; }
    void setPlace(const form::DayPlace& place) override { fields = place; }
    std::string dateText() const override { return date; }
    void setDateText(std::string_view text) override { date = text; }
    bool monthView() const override { return month; }
    void setMonthView(bool on) override { month = on; }
    void showDay(const form::DaySheet& sheet) override {
        day = sheet;
        note.clear();
    }
    void showMonth(const form::MonthSheet& sheet) override {
        grid = sheet;
        note.clear();
    }
    void showNote(std::string_view text) override { note = text; }
    void focusField(form::DayField field) override { focused = field; }
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    void reckonLater() override { later = true; }
    form::DayPlace rememberedPlace() const override { return kept; }
    void rememberPlace(const form::DayPlace& place) override { kept = place; }
};

class DayFormTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_ephemeris = std::make_unique<sky::Ephemeris>(); }
    static void TearDownTestSuite() { s_ephemeris.reset(); }

    // Shows what the fields hold, and runs a month's reckoning to its end as the window's events would.
    void show() {
        logic.show();
        finishMonth();
    }
    void finishMonth() {
        while (std::exchange(tab.later, false))
            logic.reckonMore();
    }
    bool hasRow(const form::DayRow& row) const {
        return tab.day && std::find(tab.day->rows.begin(), tab.day->rows.end(), row) != tab.day->rows.end();
    }

    static inline std::unique_ptr<sky::Ephemeris> s_ephemeris;
    FakeDayTab tab;
    form::DayForm logic{tab, []() -> sky::Ephemeris& {
                            return *s_ephemeris;
                        }};
};

const form::DayPlace kUjjain{"Ujjain, Madhya Pradesh, India", "23.1824 N", "75.7764 E", "Asia/Kolkata"};

TEST_F(DayFormTest, NoPlaceYetIsASentenceInTheTabAndPrintingSaysSo) {
    show();
    EXPECT_EQ(tab.note, form::kNoDayPlaceNote);
    EXPECT_TRUE(tab.messages.empty());
    EXPECT_EQ(logic.dayToPrint(), nullptr);
    EXPECT_EQ(tab.messages, std::vector<std::string>{std::string(form::kNoDayPlaceToPrintMessage)});
}

TEST_F(DayFormTest, EachProblemIsOneMessageNamingItsFieldWithTheFocusThere) {
    const struct {
        form::DayPlace place;
        const char* date;
        const char* begins;
        form::DayField field;
    } cases[] = {
        {{"Xyzzyville", "", "", ""},
         "",
         "Place: \"Xyzzyville\" is not a city Velmorant knows",
         form::DayField::Place},
        {{"", "23.18 N", "", "Asia/Kolkata"}, "", "Longitude: none given", form::DayField::Longitude},
        {{"", "", "75.78 E", "Asia/Kolkata"}, "", "Latitude: none given", form::DayField::Latitude},
        {{"Here", "95 N", "75.78 E", "Asia/Kolkata"}, "", "Latitude: ", form::DayField::Latitude},
        {{"", "23.18 N", "75.78 Q", "Asia/Kolkata"}, "", "Longitude: ", form::DayField::Longitude},
        {{"", "23.18 N", "75.78 E", ""}, "", "Time zone: none given", form::DayField::Zone},
        {{"", "23.18 N", "75.78 E", "Mars/Olympus"},
         "",
         "Time zone: no time zone is named",
         form::DayField::Zone},
        {kUjjain, "2026-02-30", "Date: 2026-02-30 does not exist", form::DayField::Date},
        {kUjjain, "08/12/2026", "Date: \"08/12/2026\" is not a date of the form YYYY-MM-DD",
         form::DayField::Date},
        {kUjjain, "3001-01-01", "Date: positions can be computed only", form::DayField::Date},
        {{"", "13.8333 S", "171.7667 W", "Pacific/Apia"},
         "2011-12-30",
         "Date: 2011-12-30 did not happen in Pacific/Apia",
         form::DayField::Date},
    };
    for (const bool month : {false, true})
        for (const auto& c : cases) {
            SCOPED_TRACE(c.begins);
            if (month && c.place.zone == "Pacific/Apia")
                continue; // the grid shows the month, that date saying it was passed over
            FakeDayTab fresh;
            fresh.fields = c.place;
            fresh.date = c.date;
            fresh.month = month;
            form::DayForm checks(fresh, []() -> sky::Ephemeris& { return *s_ephemeris; });
            checks.show();
            ASSERT_EQ(fresh.messages.size(), 1u);
            EXPECT_TRUE(fresh.messages[0].starts_with(c.begins)) << fresh.messages[0];
            EXPECT_EQ(fresh.focused, c.field);
            EXPECT_FALSE(fresh.day || fresh.grid || fresh.later);
            EXPECT_EQ(fresh.kept, form::DayPlace{}) << "a place is kept only once a day was shown there";
        }
}

TEST_F(DayFormTest, AKnownDayAtUjjainWithItsSpansTheirEndsAndTheDaysEitherSide) {
    tab.fields = {"Ujjain", "", "", ""};
    tab.date = " 2026-12-01 ";
    show();
    ASSERT_TRUE(tab.messages.empty()) << tab.messages[0];
    EXPECT_EQ(tab.fields, kUjjain) << "the city named, in full, with its coordinates and zone";
    EXPECT_EQ(tab.kept, kUjjain);
    ASSERT_TRUE(tab.day);
    EXPECT_EQ(tab.day->heading, "Tuesday 1 December 2026");
    EXPECT_EQ(tab.day->place, "Ujjain, Madhya Pradesh, India, 23.1824 N, 75.7764 E");
    for (const form::DayRow& row : std::vector<form::DayRow>{
             {"Vara", "Mangala (Tuesday)", ""},
             {"Sunrise", "06:55 +05:30", ""},
             {"Moonrise", "none that day", ""},
             {"Moonset", "12:36 +05:30", ""},
             {"Paksha", "Krishna (waning)", ""},
             {"Lunar month", "Kartika (amanta)", ""},
             {"Tithi", "Krishna Ashtami", "23:14 +05:30"},
             {"Tithi", "Krishna Navami", "2026-12-02 22:53 +05:30"},
             {"Nakshatra", "Magha", "09:01 +05:30"},
             {"Karana", "Taitila", "2026-12-02 10:59 +05:30"},
         })
        EXPECT_TRUE(hasRow(row)) << row.what << " " << row.name << " " << row.ends;

    logic.turn(1);
    EXPECT_EQ(tab.date, "2026-12-02");
    EXPECT_EQ(tab.day->heading, "Wednesday 2 December 2026");
    EXPECT_TRUE(hasRow({"Tithi", "Krishna Navami", "22:53 +05:30"}));
    logic.turn(-2);
    EXPECT_EQ(tab.date, "2026-11-30");
    tab.date = "2023-07-25";
    show();
    EXPECT_TRUE(hasRow({"Lunar month", "Adhika Shravana (amanta)", ""}));
    EXPECT_TRUE(tab.messages.empty());

    // A name typed over the city is looked up again; coordinates typed after it are the user's own.
    tab.fields.name = "Delhi";
    logic.placeTyped();
    show();
    EXPECT_EQ(tab.fields.name, "Delhi, National Capital Territory of Delhi, India");
    EXPECT_NE(tab.fields.latitude, kUjjain.latitude);
    tab.fields = {"Home", "23.1824 N", "75.7764 E", "+05:30"};
    tab.date = "2026-12-01";
    logic.placeTyped();
    logic.coordinatesTyped();
    show();
    EXPECT_EQ(tab.day->place, "Home, 23.1824 N, 75.7764 E");
    EXPECT_TRUE(hasRow({"Sunrise", "06:55 +05:30", ""}));
}

TEST_F(DayFormTest, ATithiNoSunriseSeesIsMarkedInTheTableAndTheGrid) {
    tab.fields = kUjjain;
    tab.date = "2023-01-20";
    show();
    ASSERT_TRUE(tab.day);
    EXPECT_EQ(std::count_if(tab.day->rows.begin(), tab.day->rows.end(),
                            [](const form::DayRow& row) { return row.what == "Tithi"; }),
              3);
    EXPECT_TRUE(std::any_of(tab.day->rows.begin(), tab.day->rows.end(), [](const form::DayRow& row) {
        return row.name == "Krishna Chaturdashi (kshaya: skipped)";
    }));

    logic.setMonthView(true);
    finishMonth();
    ASSERT_TRUE(tab.grid);
    EXPECT_EQ(tab.grid->heading, "January 2023");
    const form::MonthDay& twentieth = tab.grid->days.at(19);
    EXPECT_EQ(twentieth.spoken, "Friday 20 January: Krishna Trayodashi, Krishna Chaturdashi skipped");
    EXPECT_EQ(twentieth.marks, std::vector<std::string>{"Krishna Chaturdashi skipped"});
}

TEST_F(DayFormTest, AMonthsGridHoldsEveryTithiAtASunriseOrSkippedAndTurnsByMonths) {
    tab.fields = kUjjain;
    tab.date = "2026-12-08";
    tab.month = true;
    show();
    ASSERT_TRUE(tab.messages.empty()) << tab.messages[0];
    ASSERT_TRUE(tab.grid);
    EXPECT_EQ(tab.grid->heading, "December 2026");
    ASSERT_EQ(tab.grid->days.size(), 31u);
    EXPECT_EQ(tab.grid->days[0].weekday, 2) << "1 December 2026 is a Tuesday";
    // A civil month is longer than a lunar one: each of the thirty tithis holds a sunrise or is skipped.
    std::set<std::string> seen;
    for (const form::MonthDay& day : tab.grid->days) {
        SCOPED_TRACE(day.date);
        seen.insert(day.tithi);
        for (const std::string& mark : day.marks) {
            if (mark.ends_with(" skipped"))
                seen.insert(mark.substr(0, mark.size() - 8));
            else
                EXPECT_TRUE(day.tithi.ends_with(mark)) << mark << " on a day of " << day.tithi;
        }
        const bool special =
            day.tithi == "Purnima" || day.tithi == "Amavasya" || day.tithi.ends_with("Ekadashi");
        EXPECT_EQ(special, !day.marks.empty() && !day.marks[0].ends_with(" skipped"));
        EXPECT_TRUE(day.spoken.starts_with(std::string(form::kWeekdayNames[std::size_t(day.weekday)]) + " " +
                                           std::to_string(day.day) + " December: " + day.tithi));
    }
    EXPECT_EQ(seen.size(), 30u);
    // A mark the tithi's name already says is not said twice.
    EXPECT_EQ(tab.grid->days[7].spoken, "Tuesday 8 December: Amavasya");
    EXPECT_EQ(tab.grid->days[22].spoken, "Wednesday 23 December: Shukla Chaturdashi, Purnima skipped");

    logic.turn(1);
    finishMonth();
    EXPECT_EQ(tab.date, "2027-01-08");
    EXPECT_EQ(tab.grid->heading, "January 2027");
    ASSERT_NE(logic.monthToPrint(), nullptr);

    logic.openDay("2027-01-14");
    EXPECT_FALSE(tab.month);
    EXPECT_EQ(tab.day->heading, "Thursday 14 January 2027");

    // A date the clocks passed over is a day of the grid that says so.
    tab.fields = {"", "13.8333 S", "171.7667 W", "Pacific/Apia"};
    tab.date = "2011-12-01";
    logic.setMonthView(true);
    finishMonth();
    ASSERT_TRUE(tab.messages.empty()) << tab.messages[0];
    EXPECT_EQ(tab.grid->days.at(29).spoken, "Friday 30 December: the clocks passed over this date here");
    EXPECT_FALSE(tab.grid->days.at(30).tithi.empty());
}

TEST_F(DayFormTest, TheRememberedPlaceIsTakenOnlyWhileItStillReadsAsOne) {
    tab.kept = kUjjain;
    logic.load();
    EXPECT_EQ(tab.fields, kUjjain);

    FakeDayTab damaged;
    damaged.kept = {"Ujjain", "23.1824 N", "75.7764 E", "Nowhere/Atlantis"};
    form::DayForm again(damaged, []() -> sky::Ephemeris& { return *s_ephemeris; });
    again.load();
    again.show();
    EXPECT_EQ(damaged.fields, form::DayPlace{});
    EXPECT_EQ(damaged.note, form::kNoDayPlaceNote);
    EXPECT_TRUE(damaged.messages.empty());
}

} // namespace
