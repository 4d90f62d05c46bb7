// The Day tab's logic: the day's panchanga at a place, or a month of it, as a table and a calendar grid,
// behind the controls the Qt tab implements. It checks the place, the coordinates, the zone and the
// date, names the field of what is wrong in one message, and remembers the place once it has shown a
// day there.
#pragma once

#include "sky/Panchanga.h"
#include "sky/Time.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sky {
class Ephemeris;
}

namespace form {

enum class DayField { Place, Latitude, Longitude, Zone, Date };

// The place as its fields read, texts as typed (trimmed); also what is remembered.
struct DayPlace {
    std::string name; // a city's full name, or a name of the user's own; may be empty with coordinates
    std::string latitude;
    std::string longitude;
    std::string zone;

    bool empty() const { return name.empty() && latitude.empty() && longitude.empty(); }
    friend bool operator==(const DayPlace&, const DayPlace&) = default;
};

// One line of the day's table: what it is, its name (or the time, for a rising or setting), and when it
// ends, empty where nothing ends.
struct DayRow {
    std::string what;
    std::string name;
    std::string ends;

    friend bool operator==(const DayRow&, const DayRow&) = default;
};

// A day as the tab shows it and the page prints it.
struct DaySheet {
    std::string date;    // "2026-12-08"
    std::string heading; // "Tuesday 8 December 2026"
    std::string place;   // "Ujjain, Madhya Pradesh, India, 23.1824 N, 75.7764 E"
    std::string zone;    // "Times in Asia/Kolkata, to the minute, with the offset from UT; ayanamsa ..."
    std::vector<DayRow> rows;
};

// A day of the month's grid: the tithi at sunrise, and what marks the day, in words.
struct MonthDay {
    int day = 1;     // 1..31
    int weekday = 0; // 0 Sunday .. 6 Saturday
    std::string date;
    std::string tithi;              // empty where the day could not be reckoned
    std::vector<std::string> marks; // "Purnima", "Amavasya", "Ekadashi", "Krishna Chaturdashi skipped"
    // Read as a whole: "Tuesday 8 December: Krishna Chaturthi, Ekadashi".
    std::string spoken;

    friend bool operator==(const MonthDay&, const MonthDay&) = default;
};

// What a day's cell shows, a line each: the day's number, the tithi at sunrise, and each mark the
// tithi's name does not already say (a Purnima's cell reads "Purnima" once).
std::vector<std::string> cellLines(const MonthDay& day);

struct MonthSheet {
    std::string heading; // "December 2026"
    std::string place;
    std::string zone;   // "Dates on the clocks of Asia/Kolkata; ayanamsa ..."
    std::string legend; // what the cells give and what the marks mean
    std::vector<MonthDay> days;
};

// The words the tab and the page head their weekday columns with, Sunday first.
extern const std::array<std::string_view, 7> kWeekdayNames;

// The Day tab's controls as its logic sees them. Texts cross as UTF-8.
class DayTab {
public:
    virtual ~DayTab() = default;

    virtual DayPlace place() const = 0;
    virtual void setPlace(const DayPlace& place) = 0;
    virtual std::string dateText() const = 0;
    virtual void setDateText(std::string_view date) = 0;
    // Whether the month's grid is what the tab shows, rather than the day's table.
    virtual bool monthView() const = 0;
    virtual void setMonthView(bool month) = 0;

    virtual void showDay(const DaySheet& day) = 0;
    virtual void showMonth(const MonthSheet& month) = 0;
    // A plain sentence in place of the table and the grid, such as the prompt to enter a place.
    virtual void showNote(std::string_view note) = 0;
    // Gives the keyboard focus to a field, after a message about it.
    virtual void focusField(DayField field) = 0;
    // The program's one message box.
    virtual void showMessage(std::string_view text) = 0;

    // Asks for DayForm::reckonMore() to be called once the events waiting have been handled.
    virtual void reckonLater() = 0;

    // The place kept between runs; an empty one where none is.
    virtual DayPlace rememberedPlace() const = 0;
    virtual void rememberPlace(const DayPlace& place) = 0;
};

class DayForm {
public:
    using EphemerisSource = std::function<sky::Ephemeris&()>;

    DayForm(DayTab& tab, EphemerisSource ephemeris);
    ~DayForm();

    // The remembered place in the fields, where it still reads as a place; nothing is reckoned yet.
    void load();

    // Shows the date in the fields (today at the place where it is empty), as the day's table or the
    // month's grid. No place yet means the note; anything else wrong, one message naming its field.
    void show();

    // The day before or after (-1, +1); in the month's grid, the month before or after.
    void turn(int step);

    // The grid or the table, for the date in the fields.
    void setMonthView(bool month);

    // A day chosen in the month's grid ("2026-12-08"): its table.
    void openDay(std::string_view date);

    // A city picked from the suggestions: its full name, coordinates and zone in the fields, and its day.
    void pickPlace(const DayPlace& city);

    // The place's name was typed, or its coordinates were: a name typed since the coordinates were set
    // is looked up again at the next show(); coordinates typed are the user's own.
    void placeTyped();
    void coordinatesTyped();

    // Reckons more of the month under way, within a short while; asks to be called again until the
    // month is whole, and then shows it.
    void reckonMore();

    // What Print and Export PDF put on paper: the day or month last shown. With none, says what is
    // missing and gives nothing.
    const DaySheet* dayToPrint();
    const MonthSheet* monthToPrint();

private:
    struct Where {
        std::string name; // as shown on the sheet
        sky::GeoPoint at;
        sky::Zone zone;
    };
    struct MonthWork;

    // The day or month `step` days (or months) from the date in the fields.
    void go(int step);
    // The place in the fields, looked up or read; a message names what is wrong.
    std::optional<Where> where();
    // The date in the fields, or today at the place where it is empty.
    std::optional<date::year_month_day> dateShown(const sky::Zone& zone);
    void problem(DayField field, const std::string& message);
    void showDate(date::year_month_day day, const Where& where);
    void startMonth(date::year_month_day day, const Where& where);
    std::string_view missingForPrint() const;

    DayTab& m_tab;
    EphemerisSource m_ephemeris;
    bool m_lookUpName = false; // the name was typed since the coordinates were set
    std::optional<DaySheet> m_day;
    std::optional<MonthSheet> m_month;
    std::unique_ptr<MonthWork> m_work;
};

// The sheets, from what the sky layer found. `place` is the place as the sheet names it.
DaySheet daySheet(const sky::DayPanchanga& day, const sky::Zone& zone, const std::string& place);
MonthDay monthDay(const sky::DayPanchanga& day);

} // namespace form
