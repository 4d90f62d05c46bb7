#include "form/DayForm.h"

#include "almanac/Ascii.h"
#include "almanac/Names.h"
#include "form/Messages.h"
#include "sky/Ephemeris.h"
#include "sky/Places.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace form {

const std::array<std::string_view, 7> kWeekdayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                    "Thursday", "Friday", "Saturday"};

namespace {

constexpr std::array<std::string_view, 12> kCivilMonthNames{"January",   "February", "March",    "April",
                                                            "May",       "June",     "July",     "August",
                                                            "September", "October",  "November", "December"};

constexpr int kShuklaEkadashi = 10;
constexpr int kPurnima = 14;
constexpr int kKrishnaEkadashi = 25;
constexpr int kAmavasya = 29;

// How long one turn of reckoning a month keeps the window from its events.
constexpr auto kSlice = std::chrono::milliseconds(15);

int weekdayOf(date::year_month_day day) {
    return static_cast<int>(date::weekday{date::sys_days{day}}.c_encoding());
}

std::string_view monthNameOf(date::year_month_day day) {
    return kCivilMonthNames[static_cast<unsigned>(day.month()) - 1];
}

// "Tuesday 8 December", and the year after it where asked.
std::string longDate(date::year_month_day day, bool withYear) {
    std::string text = std::string(kWeekdayNames[static_cast<std::size_t>(weekdayOf(day))]) + " " +
                       std::to_string(static_cast<unsigned>(day.day())) + " " + std::string(monthNameOf(day));
    if (withYear)
        text.append(1, ' ').append(std::to_string(static_cast<int>(day.year())));
    return text;
}

std::string tithiName(int number) {
    return std::string(almanac::kTithiNames[static_cast<std::size_t>(number)]);
}

// A span of the day's list that no sunrise sees: it begins after the day's sunrise and ends before the
// next day's.
bool skipped(const std::vector<sky::PanchangaSpan>& spans, std::size_t index) {
    return index > 0 && index + 1 < spans.size();
}

std::string placeText(const std::string& name, sky::GeoPoint at) {
    const std::string coordinates = sky::latitudeText(at.latitude) + ", " + sky::longitudeText(at.longitude);
    return name.empty() ? coordinates : name + ", " + coordinates;
}

std::string ayanamsaText() {
    return "ayanamsa " + std::string(sky::ayanamsaLabel(sky::Ayanamsa::Lahiri));
}

std::string zoneText(const sky::Zone& zone) {
    return "Times in " + zone.name() + ", to the minute, with the offset from UT; " + ayanamsaText();
}

// A date the grid has no panchanga for, and why.
MonthDay unreckoned(date::year_month_day day, const std::string& why) {
    MonthDay cell{static_cast<int>(static_cast<unsigned>(day.day())),
                  weekdayOf(day),
                  sky::dateText(day),
                  {},
                  {why},
                  {}};
    cell.spoken = longDate(day, false) + ": " + why;
    return cell;
}

date::year_month_day monthsLater(date::year_month_day day, int months) {
    const date::year_month month = day.year() / day.month() + date::months{months};
    return month / std::min(day.day(), (month / date::last).day());
}

} // namespace

DaySheet daySheet(const sky::DayPanchanga& day, const sky::Zone& zone, const std::string& place) {
    DaySheet sheet{sky::dateText(day.date), longDate(day.date, true), place, zoneText(zone), {}};
    std::vector<DayRow>& rows = sheet.rows;
    const auto event = [&](const std::optional<date::sys_seconds>& at, std::string_view none) {
        return at ? sky::clockTime(*at, zone, day.date, true) : std::string(none);
    };
    rows.push_back({"Date", sheet.date, ""});
    rows.push_back({"Vara",
                    std::string(almanac::kVaraNames[static_cast<std::size_t>(day.vara)]) +
                        (day.sunrise ? "" : ", the civil weekday"),
                    ""});
    rows.push_back({"Sunrise", event(day.sunrise, "none that day; the day is reckoned from midnight"), ""});
    rows.push_back({"Sunset", event(day.sunset, "none that day"), ""});
    rows.push_back({"Moonrise", event(day.moonrise, "none that day"), ""});
    rows.push_back({"Moonset", event(day.moonset, "none that day"), ""});
    rows.push_back({"Paksha", day.shukla ? "Shukla (waxing)" : "Krishna (waning)", ""});
    rows.push_back({"Lunar month",
                    (day.month.adhika ? "Adhika " : "") +
                        std::string(almanac::kMonthNames[static_cast<std::size_t>(day.month.number)]) +
                        " (amanta)",
                    ""});
    struct Kind {
        const char* what;
        const std::vector<sky::PanchangaSpan>& spans;
        std::string (*name)(int);
        bool canSkip; // karanas come two to a tithi: one between two sunrises is no exception
    };
    const Kind kinds[] = {
        {"Tithi", day.tithis, tithiName, true},
        {"Nakshatra", day.nakshatras,
         [](int n) { return std::string(almanac::kNakshatraNames[static_cast<std::size_t>(n)]); }, true},
        {"Yoga", day.yogas,
         [](int n) { return std::string(almanac::kYogaNames[static_cast<std::size_t>(n)]); }, true},
        {"Karana", day.karanas, [](int n) { return std::string(almanac::karanaName(n)); }, false},
    };
    for (const Kind& kind : kinds)
        for (std::size_t i = 0; i < kind.spans.size(); ++i)
            rows.push_back({kind.what,
                            kind.name(kind.spans[i].number) +
                                (kind.canSkip && skipped(kind.spans, i) ? " (kshaya: skipped)" : ""),
                            sky::clockTime(kind.spans[i].ends, zone, day.date, true)});
    return sheet;
}

MonthDay monthDay(const sky::DayPanchanga& day) {
    MonthDay cell{static_cast<int>(static_cast<unsigned>(day.date.day())),
                  weekdayOf(day.date),
                  sky::dateText(day.date),
                  tithiName(day.tithis.front().number),
                  {},
                  {}};
    switch (day.tithis.front().number) {
    case kPurnima:
        cell.marks.emplace_back("Purnima");
        break;
    case kAmavasya:
        cell.marks.emplace_back("Amavasya");
        break;
    case kShuklaEkadashi:
    case kKrishnaEkadashi:
        cell.marks.emplace_back("Ekadashi");
        break;
    default:
        break;
    }
    for (std::size_t i = 0; i < day.tithis.size(); ++i)
        if (skipped(day.tithis, i))
            cell.marks.push_back(tithiName(day.tithis[i].number) + " skipped");
    // Read as the cell shows it, the day's number said with its weekday and month.
    const std::vector<std::string> lines = cellLines(cell);
    cell.spoken = longDate(day.date, false) + ":";
    for (std::size_t i = 1; i < lines.size(); ++i)
        cell.spoken += (i == 1 ? " " : ", ") + lines[i];
    return cell;
}

std::vector<std::string> cellLines(const MonthDay& day) {
    std::vector<std::string> lines{std::to_string(day.day)};
    if (!day.tithi.empty())
        lines.push_back(day.tithi);
    for (const std::string& mark : day.marks)
        if (day.tithi.empty() || !day.tithi.ends_with(mark))
            lines.push_back(mark);
    return lines;
}

// A month reckoned a few days at a time.
struct DayForm::MonthWork {
    sky::PanchangaDays days;
    date::year_month month;
    unsigned next = 1;
    unsigned last = 31;
    MonthSheet sheet;
};

DayForm::DayForm(DayTab& tab, EphemerisSource ephemeris)
    : m_tab(tab)
    , m_ephemeris(std::move(ephemeris)) {}

DayForm::~DayForm() = default;

void DayForm::load() {
    const DayPlace kept = m_tab.rememberedPlace();
    if (kept.latitude.empty() || kept.longitude.empty() || kept.zone.empty())
        return;
    // A place that no longer reads as one (a damaged file, a zone gone from the database) is no place.
    try {
        sky::parseLatitude(kept.latitude);
        sky::parseLongitude(kept.longitude);
        sky::Zone::parse(kept.zone);
    } catch (const sky::InputError&) {
        return;
    }
    m_tab.setPlace(kept);
    m_lookUpName = false;
}

void DayForm::problem(DayField field, const std::string& message) {
    m_tab.showMessage(message);
    m_tab.focusField(field);
}

std::optional<DayForm::Where> DayForm::where() {
    DayPlace place = m_tab.place();
    // A name typed, and not picked, stands for the city it names, with its coordinates and zone.
    if (!place.name.empty() && (m_lookUpName || (place.latitude.empty() && place.longitude.empty()))) {
        const sky::City* city = sky::Gazetteer::instance().find(place.name);
        if (!city) {
            problem(DayField::Place, dayFieldMessage(kDayPlaceLabel, unknownPlaceProblem(place.name)));
            return std::nullopt;
        }
        place = {city->label(), sky::latitudeText(city->latitude), sky::longitudeText(city->longitude),
                 city->zone};
        m_tab.setPlace(place);
        m_lookUpName = false;
    }
    if (place.latitude.empty()) {
        problem(DayField::Latitude, dayFieldMessage(kLatitudeLabel, kNoLatitudeProblem));
        return std::nullopt;
    }
    if (place.longitude.empty()) {
        problem(DayField::Longitude, dayFieldMessage(kLongitudeLabel, kNoLongitudeProblem));
        return std::nullopt;
    }
    sky::GeoPoint at;
    try {
        at.latitude = sky::parseLatitude(place.latitude);
    } catch (const sky::InputError& e) {
        problem(DayField::Latitude, dayFieldMessage(kLatitudeLabel, e.what()));
        return std::nullopt;
    }
    try {
        at.longitude = sky::parseLongitude(place.longitude);
    } catch (const sky::InputError& e) {
        problem(DayField::Longitude, dayFieldMessage(kLongitudeLabel, e.what()));
        return std::nullopt;
    }
    if (place.zone.empty()) {
        problem(DayField::Zone, dayFieldMessage(kTimeZoneLabel, kNoZoneProblem));
        return std::nullopt;
    }
    try {
        return Where{placeText(place.name, at), at, sky::Zone::parse(place.zone)};
    } catch (const sky::InputError& e) {
        problem(DayField::Zone, dayFieldMessage(kTimeZoneLabel, e.what()));
        return std::nullopt;
    }
}

std::optional<date::year_month_day> DayForm::dateShown(const sky::Zone& zone) {
    const std::string typed = m_tab.dateText();
    const std::string_view text = almanac::trimmedAscii(typed);
    if (text.empty()) {
        // Today, on the place's own clocks.
        const auto now = date::floor<std::chrono::seconds>(std::chrono::system_clock::now());
        return date::year_month_day{date::floor<date::days>(now + zone.offsetAt(now))};
    }
    try {
        return sky::parseDate(text);
    } catch (const sky::InputError& e) {
        problem(DayField::Date, dayFieldMessage(kDayDateLabel, e.what()));
        return std::nullopt;
    }
}

void DayForm::show() {
    go(0);
}

void DayForm::turn(int step) {
    go(step);
}

void DayForm::go(int step) {
    m_work.reset();
    if (m_tab.place().empty()) {
        m_day.reset();
        m_month.reset();
        m_tab.showNote(kNoDayPlaceNote);
        return;
    }
    const std::optional<Where> at = where();
    if (!at)
        return;
    std::optional<date::year_month_day> day = dateShown(at->zone);
    if (!day)
        return;
    const bool month = m_tab.monthView();
    if (step != 0)
        day = month ? monthsLater(*day, step) : date::year_month_day{date::sys_days{*day} + date::days{step}};
    if (month)
        startMonth(*day, *at);
    else
        showDate(*day, *at);
}

void DayForm::showDate(date::year_month_day day, const Where& where) {
    sky::DayPanchanga found;
    try {
        found = sky::panchanga(m_ephemeris(), day, where.zone, where.at);
    } catch (const sky::OutOfRange& e) {
        problem(DayField::Date, dayFieldMessage(kDayDateLabel, e.what()));
        return;
    } catch (const sky::InputError& e) {
        problem(DayField::Date, dayFieldMessage(kDayDateLabel, e.what()));
        return;
    }
    m_tab.setDateText(sky::dateText(day));
    m_day = daySheet(found, where.zone, where.name);
    m_tab.showDay(*m_day);
    m_tab.rememberPlace(m_tab.place());
}

void DayForm::startMonth(date::year_month_day day, const Where& where) {
    m_tab.setDateText(sky::dateText(day));
    const date::year_month month = day.year() / day.month();
    MonthSheet sheet{
        std::string(monthNameOf(day)) + " " + std::to_string(static_cast<int>(day.year())),
        where.name,
        "Dates on the clocks of " + where.zone.name() + "; " + ayanamsaText(),
        "Each day gives the tithi at its sunrise. A Purnima, an Amavasya and an Ekadashi are "
        "shaded as well as named, and a tithi that no sunrise sees is named as skipped (kshaya).",
        {}};
    m_work.reset(new MonthWork{sky::PanchangaDays(m_ephemeris(), where.zone, where.at), month, 1,
                               static_cast<unsigned>((month / date::last).day()), std::move(sheet)});
    reckonMore();
}

void DayForm::reckonMore() {
    if (!m_work)
        return;
    MonthWork& work = *m_work;
    const auto until = std::chrono::steady_clock::now() + kSlice;
    do {
        const date::year_month_day day = work.month / date::day{work.next};
        try {
            work.sheet.days.push_back(monthDay(work.days.day(day)));
        } catch (const sky::InputError&) {
            work.sheet.days.push_back(unreckoned(day, "the clocks passed over this date here"));
        } catch (const sky::OutOfRange& e) {
            if (work.next == 1) {
                m_work.reset();
                problem(DayField::Date, dayFieldMessage(kDayDateLabel, e.what()));
                return;
            }
            work.sheet.days.push_back(unreckoned(day, "beyond the ephemeris' years"));
        }
        ++work.next;
    } while (work.next <= work.last && std::chrono::steady_clock::now() < until);
    if (work.next <= work.last) {
        m_tab.reckonLater();
        return;
    }
    m_month = std::move(work.sheet);
    m_work.reset();
    m_tab.showMonth(*m_month);
    m_tab.rememberPlace(m_tab.place());
}

void DayForm::setMonthView(bool month) {
    m_tab.setMonthView(month);
    show();
}

void DayForm::openDay(std::string_view date) {
    m_tab.setDateText(date);
    m_tab.setMonthView(false);
    show();
}

void DayForm::pickPlace(const DayPlace& city) {
    m_tab.setPlace(city);
    m_lookUpName = false;
    show();
}

void DayForm::placeTyped() {
    m_lookUpName = true;
}

void DayForm::coordinatesTyped() {
    m_lookUpName = false;
}

std::string_view DayForm::missingForPrint() const {
    return m_tab.place().empty() ? kNoDayPlaceToPrintMessage : kNoDayShownToPrintMessage;
}

const DaySheet* DayForm::dayToPrint() {
    if (!m_day)
        m_tab.showMessage(missingForPrint());
    return m_day ? &*m_day : nullptr;
}

const MonthSheet* DayForm::monthToPrint() {
    if (m_work)
        m_tab.showMessage(kMonthNotReadyMessage);
    else if (!m_month)
        m_tab.showMessage(missingForPrint());
    return m_month && !m_work ? &*m_month : nullptr;
}

} // namespace form
