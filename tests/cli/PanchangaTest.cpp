// velmorant-cli panchanga as a user runs it: exit statuses and the option at fault, the JSON read back
// by Python's json and the iCalendar file by Python's icalendar.
#include "cli/Program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cli_test::Finished;
using cli_test::runCli;

// Python with the icalendar module of python3-icalendar, which Debian installs for its own Python.
Finished python(const std::string& script, std::string_view input) {
    return cli_test::Running(VELMORANT_PYTHON, {"-c", script}, input).finish();
}

std::vector<std::string> panchanga(std::vector<std::string> more) {
    more.insert(more.begin(), "panchanga");
    return more;
}

TEST(CliPanchanga, ExitStatusesAndTheOptionAtFault) {
    struct Call {
        std::vector<std::string> arguments;
        int status;
        const char* saying; // on standard error, or on standard output where all went well
    };
    const Call calls[] = {
        {{"panchanga", "--help"}, 0, "\"month\": {\"name\": \"Shravana\", \"adhika\": true}"},
        {panchanga({"--date", "2023-07-25", "--place", "Ujjain"}), 0,
         "Month       Adhika Shravana, Shukla paksha\n"},
        {panchanga({"--date", "2024-06-21", "--place", "Tromsø"}), 0,
         "Sunrise     none; the day is reckoned from midnight\n"},
        {panchanga({"--date", "2011-12-29", "--days", "3", "--place", "Apia"}), 0,
         "\n\n2011-12-31  Shani (Saturday)\n"},
        {panchanga({"--date", "2023-07-25", "--lat", "23.18N", "--lon", "75.78E", "--zone", "+05:30"}), 0,
         "Times in +05:30; ayanamsa Lahiri"},
        {panchanga({"--place", "Ujjain"}), 2, "--date: missing"},
        {panchanga({"--date", "2023-02-29", "--place", "Ujjain"}), 2, "--date: 2023-02-29 does not exist"},
        {panchanga({"--date", "2011-12-30", "--place", "Apia"}), 2,
         "--date: 2011-12-30 did not happen in Pacific/Apia"},
        {panchanga({"--date", "3001-01-01", "--place", "Ujjain"}), 2,
         "--date: positions can be computed only"},
        {panchanga({"--date", "3000-12-01", "--days", "40", "--place", "Ujjain"}), 2, "--days: the last day"},
        {panchanga({"--date", "2023-07-25", "--days", "0", "--place", "Ujjain"}), 2, "--days: \"0\" is not"},
        {panchanga({"--date", "2023-07-25", "--days", "3661", "--place", "Ujjain"}), 2, "--days: "},
        {panchanga({"--date", "2023-07-25", "--days", "1e3", "--place", "Ujjain"}), 2, "--days: "},
        {panchanga({"--date", "2023-07-25"}), 2, "--place: missing"},
        {panchanga({"--date", "2023-07-25", "--place", "Xyzzyville"}), 2,
         "--place: \"Xyzzyville\" is not a city"},
        {panchanga({"--date", "2023-07-25", "--lat", "23"}), 2, "--lon: missing"},
        {panchanga({"--date", "2023-07-25", "--lat", "91", "--lon", "75", "--zone", "UTC"}), 2, "--lat: "},
        {panchanga({"--date", "2023-07-25", "--lat", "23", "--lon", "75"}), 2, "--zone: missing"},
        {panchanga({"--date", "2023-07-25", "--place", "Ujjain", "--zone", "Mars/Olympus"}), 2, "--zone: "},
        {panchanga({"--date", "2023-07-25", "--place", "Ujjain", "--lat", "23"}), 2,
         "--lat: not with --place"},
        {panchanga({"--date", "2023-07-25", "--place", "Ujjain", "--ayanamsa", "sayana"}), 2, "--ayanamsa: "},
        {panchanga({"--date", "2023-07-25", "--place", "Ujjain", "--json", "--ics"}), 2,
         "--ics: not with --json"},
        {panchanga({"--date", "-0044-03-15", "--place", "Rome", "--ics"}), 2, "--ics: "},
    };
    for (const Call& call : calls) {
        SCOPED_TRACE(testing::PrintToString(call.arguments));
        const Finished finished = runCli(call.arguments);
        EXPECT_EQ(finished.status, call.status) << finished.err;
        EXPECT_NE((call.status == 0 ? finished.out : finished.err).find(call.saying), std::string::npos)
            << finished.out << finished.err;
        if (call.status != 0) { // one line, and nothing half written
            EXPECT_EQ(std::count(finished.err.begin(), finished.err.end(), '\n'), 1) << finished.err;
            EXPECT_EQ(finished.out, "");
        }
    }
}

TEST(CliPanchanga, JsonHasTheShapeTheHelpGives) {
    const Finished json =
        runCli(panchanga({"--date", "2023-07-16", "--days", "3", "--place", "Ujjain", "--json"}));
    ASSERT_EQ(json.status, 0) << json.err;
    const Finished read = python(R"py(
import json, re, sys
doc = json.load(sys.stdin)
assert list(doc) == ["place", "zone", "ayanamsa", "days"], list(doc)
assert list(doc["place"]) == ["name", "latitude", "longitude"] and doc["place"]["name"].startswith("Ujjain, ")
assert abs(doc["place"]["latitude"] - 23.18) < 0.01 and abs(doc["place"]["longitude"] - 75.78) < 0.01
assert doc["zone"] == "Asia/Kolkata" and doc["ayanamsa"] == "lahiri"
time = re.compile(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\+05:30\Z")
for day in doc["days"]:
    assert list(day) == ["date", "vara", "sunrise", "sunset", "moonrise", "moonset", "tithi", "nakshatra",
                         "yoga", "karana", "paksha", "month"], list(day)
    assert time.match(day["sunrise"]) and time.match(day["sunset"])
    assert all(day[key] is None or time.match(day[key]) for key in ("moonrise", "moonset"))
    for kind, count in (("tithi", 30), ("nakshatra", 27), ("yoga", 27), ("karana", 60)):
        spans = day[kind]
        assert spans and all(list(span) == ["name", "number", "ends"] for span in spans)
        assert all(1 <= span["number"] <= count and time.match(span["ends"]) for span in spans)
        assert all(b["number"] == a["number"] % count + 1 and b["ends"] > a["ends"] for a, b in zip(spans, spans[1:]))
        assert spans[0]["ends"] > day["sunrise"]
    assert list(day["month"]) == ["name", "adhika"] and day["month"]["adhika"] in (True, False)
    print(day["date"], day["vara"], day["tithi"][0]["name"], day["tithi"][0]["number"], day["paksha"],
          day["month"]["name"], day["month"]["adhika"])
)py",
                                 json.out);
    EXPECT_EQ(read.status, 0) << read.err << json.out;
    // Somvati Amavasya ended Ashadha; adhika Shravana began the next day.
    EXPECT_EQ(read.out, "2023-07-16 Ravi (Sunday) Krishna Chaturdashi 29 Krishna Ashadha False\n"
                        "2023-07-17 Soma (Monday) Amavasya 30 Krishna Ashadha False\n"
                        "2023-07-18 Mangala (Tuesday) Shukla Pratipada 1 Shukla Shravana True\n");
}

TEST(CliPanchanga, IcsIsACalendarOfTithisWithPurnimaAmavasyaAndEkadashi) {
    const auto arguments = panchanga({"--date", "2023-07-01", "--days", "31", "--place", "Ujjain", "--ics"});
    const Finished ics = runCli(arguments);
    ASSERT_EQ(ics.status, 0) << ics.err;
    // RFC 5545: CRLF after every line, none longer than 75 octets.
    std::set<std::string> uids;
    std::istringstream lines(ics.out);
    for (std::string line; std::getline(lines, line);) {
        ASSERT_TRUE(line.ends_with('\r')) << line;
        EXPECT_LE(line.size(), 76u) << line;
        if (line.starts_with("UID:"))
            uids.insert(line);
    }
    const Finished read = python(R"py(
import sys, datetime, icalendar
calendar = icalendar.Calendar.from_ical(sys.stdin.buffer.read())
assert calendar["VERSION"] == "2.0" and calendar["PRODID"]
events = calendar.walk("VEVENT")
assert len({str(event["UID"]) for event in events}) == len(events)
days = [event for event in events if "-tithi-" in str(event["UID"])]
for event in events:
    assert type(event["DTSTART"].dt) is datetime.date and event["DTSTAMP"]
print(len(days), "days from", days[0]["DTSTART"].dt, "to", days[-1]["DTSTART"].dt, "the first", days[0]["SUMMARY"])
for event in events:
    if event not in days:
        print(event["DTSTART"].dt, event["SUMMARY"])
)py",
                                 ics.out);
    EXPECT_EQ(read.status, 0) << read.err;
    // Guru Purnima, Kamika Ekadashi, the Amavasya that ended Ashadha and Padmini Ekadashi of 2023.
    EXPECT_EQ(read.out, "31 days from 2023-07-01 to 2023-07-31 the first Shukla Trayodashi\n"
                        "2023-07-03 Ashadha Purnima\n"
                        "2023-07-13 Ashadha Krishna Ekadashi\n"
                        "2023-07-17 Ashadha Amavasya\n"
                        "2023-07-29 Adhika Shravana Shukla Ekadashi\n");

    // Written again, the same events have the same UIDs.
    std::set<std::string> again;
    std::istringstream second(runCli(arguments).out);
    for (std::string line; std::getline(second, line);)
        if (line.starts_with("UID:"))
            again.insert(line);
    EXPECT_EQ(again, uids);
    EXPECT_EQ(uids.size(), 35u);
}

} // namespace
