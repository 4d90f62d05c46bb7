// velmorant-cli positions as a user runs it: exit statuses, the JSON shape, and batches.
#include "almanac/Entries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Runs the real program, `input` on its standard input, through the shell; arguments are quoted.
Finished runCli(const std::vector<std::string>& arguments, std::string_view input = {}) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("velmorant-cli-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "in", std::ios::binary) << input;
    std::string command = VELMORANT_CLI;
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    command += " <" + (folder / "in").string() + " >" + (folder / "out").string() + " 2>" +
               (folder / "err").string();
    const int status = std::system(command.c_str());
    Finished finished{WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(folder / "out"),
                      fileText(folder / "err")};
    std::filesystem::remove_all(folder);
    return finished;
}

std::vector<std::string> moment(const char* day, const char* time, const char* zone) {
    return {"positions", "--date", day, "--time", time, "--zone", zone};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Call {
    std::vector<std::string> arguments;
    int status;
    const char* saying; // on standard error, or on standard output where all went well
};

TEST(Cli, ExitStatusesAndTheFieldAtFault) {
    const auto birth = moment("1990-05-17", "14:30", "Asia/Kolkata");
    const Call calls[] = {
        {{"--version"}, 0, "1.00\n"},
        {{"positions", "--help"}, 0, "rahu_longitude,rahu_karaka"},
        {birth + std::vector<std::string>{"--ayanamsa", "RAMAN", "--karakas", "7", "--node", "true"}, 0,
         "Raman"},
        {{}, 2, "A subcommand is required"},
        {{"frob"},
         2,
         "\"frob\" is not a command of velmorant-cli; the commands are positions, panchanga, calc and "
         "charts\n"},
        {{"charts", "frob"}, 2, "the commands are list, show, rename, delete, export, import and copy\n"},
        {{"positions", "--time", "14:30", "--zone", "UTC"}, 2, "--date: missing"},
        {moment("2023-02-29", "14:30", "UTC"), 2, "--date: 2023-02-29 does not exist"},
        {moment("3001-01-01", "00:00", "UTC"), 2, "--date: positions can be computed only from"},
        {moment("-0044-03-15", "12:00", "UTC"), 0, "UT         -0044-03-15T12:00:00Z"},
        {moment("1990-05-17", "24:00", "UTC"), 2, "--time: 24:00 is not a time of day"},
        {moment("2021-03-14", "02:30", "America/New_York"), 2, "--time: 2021-03-14 02:30 did not happen"},
        {moment("1990-05-17", "14:30", "Mars/Olympus"), 2, "--zone: no time zone is named"},
        {birth + std::vector<std::string>{"--ayanamsa", "sayana"}, 2, "--ayanamsa"},
        {birth + std::vector<std::string>{"--karakas", "9"}, 2, "--karakas"},
        {birth + std::vector<std::string>{"--batch"}, 2, "--batch"},
        {{"positions", "--date", "1990-05-17", "--time", "14:30", "--place", "Chennai"},
         0,
         "Place      Chennai, Tamil Nadu, India, 13."},
        {birth + std::vector<std::string>{"--place", "Xyzzyville"}, 2,
         "--place: \"Xyzzyville\" is not a city"},
        {birth + std::vector<std::string>{"--lat", "91", "--lon", "0"}, 2, "--lat: "},
        {birth + std::vector<std::string>{"--lat", "13N"}, 2, "--lon: missing"},
        {birth + std::vector<std::string>{"--lat", "13E", "--lon", "80E"}, 2, "--lat: "},
        {birth + std::vector<std::string>{"--place", "Chennai", "--lat", "13"}, 2, "--lat"},
    };
    for (const Call& call : calls) {
        SCOPED_TRACE(testing::PrintToString(call.arguments));
        const Finished finished = runCli(call.arguments);
        EXPECT_EQ(finished.status, call.status) << finished.err;
        EXPECT_NE((call.status == 0 ? finished.out : finished.err).find(call.saying), std::string::npos)
            << finished.out << finished.err;
    }
}

const std::regex
    kBody(R"re(\{"body": "(\w+)", "longitude": (\d+\.\d{6}), "sign": "(\w+)", "degrees": (\d+), )re"
          R"re("minutes": (\d+), "seconds": (\d+\.\d), "karaka": (null|"\w+")\}(, |$))re");

// Each body of the JSON: name, longitude, and karaka ("null" for none), after checking that the sign
// position agrees with the longitude.
std::vector<std::vector<std::string>> jsonBodies(const std::string& json) {
    const std::regex document(R"re(\{"ut": "1990-05-17T09:00:00Z", "ayanamsa": \{"name": "lahiri", )re"
                              R"re("degrees": 23\.7\d{5}\}, "bodies": \[(.*)\]\}\n)re");
    std::smatch whole;
    EXPECT_TRUE(std::regex_match(json, whole, document)) << json;
    std::vector<std::vector<std::string>> bodies;
    const std::string list = whole[1];
    for (std::sregex_iterator at(list.begin(), list.end(), kBody), end; at != end; ++at) {
        const std::smatch& m = *at;
        const auto sign = std::find(almanac::kSignEntries.begin(), almanac::kSignEntries.end(), m[3].str());
        EXPECT_NE(sign, almanac::kSignEntries.end()) << m[3];
        const double split = (sign - almanac::kSignEntries.begin() - 1) * 30 + std::stod(m[4]) +
                             std::stod(m[5]) / 60 + std::stod(m[6]) / 3600;
        EXPECT_NEAR(std::stod(m[2]), split, 0.1 / 3600 + 1e-6) << m[0];
        bodies.push_back({m[1], m[2], m[7]});
    }
    return bodies;
}

TEST(Cli, JsonIsOneObjectWithTheEightBodiesInOrder) {
    const auto birth = moment("1990-05-17", "14:30", "Asia/Kolkata") + std::vector<std::string>{"--json"};
    const Finished eight = runCli(birth);
    ASSERT_EQ(eight.status, 0) << eight.err;
    const auto bodies = jsonBodies(eight.out);
    ASSERT_EQ(bodies.size(), 8u);
    std::vector<std::string> names, roles;
    for (const auto& body : bodies) {
        names.push_back(body[0]);
        roles.push_back(body[2]);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Sun", "Moon", "Mars", "Mercury", "Jupiter", "Venus", "Saturn",
                                               "Rahu"}));
    std::sort(roles.begin(), roles.end());
    EXPECT_EQ(roles, (std::vector<std::string>{"\"AK\"", "\"AmK\"", "\"BK\"", "\"DK\"", "\"GK\"", "\"MK\"",
                                               "\"PK\"", "\"PiK\""}));

    const Finished seven = runCli(birth + std::vector<std::string>{"--karakas", "7"});
    const auto sevenBodies = jsonBodies(seven.out);
    ASSERT_EQ(sevenBodies.size(), 8u);
    EXPECT_EQ(sevenBodies[7][2], "null");
    EXPECT_EQ(seven.out.find("PiK"), std::string::npos);
}

// With a place the JSON gains the place, the lagna and the day, the bodies keeping their shape; times
// carry the zone's offset, and a day without sunrise says null.
TEST(Cli, APlaceAddsTheLagnaAndTheDay) {
    const struct {
        std::vector<std::string> where;
        std::string expected;
    } cases[] = {
        {{"--zone", "Asia/Kolkata", "--place", "Chennai, Tamil Nadu, India"},
         R"re(, "place": \{"name": "Chennai, Tamil Nadu, India", "latitude": 13\.\d{4}, "longitude": 80\.\d{4}\}, )re"
         R"re("lagna": \{"longitude": \d+\.\d{6}, "sign": "\w+", "degrees": \d+, "minutes": \d+, "seconds": )re"
         R"re(\d+\.\d, "nakshatra": "[\w ]+", "pada": [1-4]\}, "day": \{"sunrise": "1990-05-17T05:4\d:\d\d\+05:30", )re"
         R"re("sunset": "1990-05-17T18:\d\d:\d\d\+05:30", "vara": "Guru \(Thursday\)"\}\}\n$)re"},
        {{"--zone", "Europe/Oslo", "--lat", "69°38′58″N", "--lon", "18.956E"},
         R"re("place": \{"name": null, "latitude": 69\.6494, "longitude": 18\.9560\}.*)re"
         R"re("day": \{"sunrise": "1990-05-17T0\d:\d\d:\d\d\+02:00", )re"},
        {{"--zone", "Pacific/Apia", "--lat", "-13.8333", "--lon", "-171.7667"},
         R"re("latitude": -13\.8333, )re"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"positions", "--date", "1990-05-17", "--time", "14:30", "--json"};
        arguments.insert(arguments.end(), c.where.begin(), c.where.end());
        const Finished finished = runCli(arguments);
        ASSERT_EQ(finished.status, 0) << finished.err;
        EXPECT_TRUE(std::regex_search(finished.out, std::regex(c.expected))) << finished.out;
        const std::string json = finished.out;
        const std::string bodies = json.substr(json.find('[') + 1, json.find(']') - json.find('[') - 1);
        EXPECT_EQ(
            std::distance(std::sregex_iterator(bodies.begin(), bodies.end(), kBody), std::sregex_iterator()),
            8)
            << "the bodies keep their shape";
    }
    const Finished polar = runCli({"positions", "--date", "2026-06-21", "--time", "12:00", "--zone",
                                   "Europe/Oslo", "--lat", "69.65", "--lon", "18.96", "--json"});
    EXPECT_NE(polar.out.find(R"re("sunrise": null, "sunset": null, "vara": "Ravi (Sunday)")re"),
              std::string::npos)
        << polar.out;
}

TEST(Cli, TableHasTheMomentAndARowPerBodyInOrder) {
    const Finished finished = runCli(moment("1990-05-17", "14:30", "Asia/Kolkata"));
    EXPECT_TRUE(
        std::regex_search(finished.out, std::regex("^UT +1990-05-17T09:00:00Z\n(.*\n)+Sun .*\nMoon .*\n"
                                                   "Mars .*\nMercury .*\nJupiter .*\nVenus .*\n"
                                                   "Saturn .*\nRahu .*\n$")))
        << finished.out;
}

// Mars 10°08'45.2" into Virgo, Rahu 19°51'14.8" into Sagittarius: 30° less Rahu's degree falls in
// the same arc-second as Mars, a fraction behind it.
TEST(Cli, RahuTiedWithMarsToTheArcSecondRanksBehindIt) {
    const Finished finished = runCli(moment("2029-01-01", "18:02:40", "Australia/Sydney"));
    EXPECT_TRUE(std::regex_search(finished.out, std::regex("\nMars .* PiK +Pitrikaraka, tied\n(.*\n)*"
                                                           "Rahu .* PK +Putrakaraka, tied\n")))
        << finished.out;
}

TEST(Cli, BatchSkipsBadLinesSayingWhereAndGoesOn) {
    const Finished finished = runCli({"positions", "--batch"}, "date,time,zone\r\n"
                                                               "1990-05-17,14:30,Asia/Kolkata\r\n"
                                                               "1990-05-17,25:30,Asia/Kolkata\n"
                                                               "\n"
                                                               "2021-03-14,02:30,America/New_York\n"
                                                               "no commas here\n"
                                                               " 2100-07-01 , 12:00 , America/New_York \n");
    EXPECT_EQ(finished.status, 1);
    EXPECT_EQ(finished.err,
              "velmorant-cli: line 3: time: 25:30 is not a time of day: hours run from 00 to 23\n"
              "velmorant-cli: line 5: time: 2021-03-14 02:30 did not happen in America/New_York (the "
              "clocks went forward from -05:00 to -04:00); give the offset instead of the zone, e.g. "
              "-05:00\n"
              "velmorant-cli: line 6: expected three fields, date,time,zone\n");

    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = finished.out.find('\n', start)) != std::string::npos;
         start = end + 1)
        lines.push_back(finished.out.substr(start, end - start));
    ASSERT_EQ(lines.size(), 3u) << finished.out;
    EXPECT_EQ(lines[0],
              "date,time,zone,ut,sun_longitude,sun_karaka,moon_longitude,moon_karaka,mars_longitude,"
              "mars_karaka,mercury_longitude,mercury_karaka,jupiter_longitude,jupiter_karaka,"
              "venus_longitude,venus_karaka,saturn_longitude,saturn_karaka,rahu_longitude,rahu_karaka");
    EXPECT_TRUE(lines[2].starts_with("2100-07-01,12:00,America/New_York,2100-07-01T16:00:00Z,")) << lines[2];

    // The same moment reads the same in a batch as on its own.
    const auto json = jsonBodies(
        runCli(moment("1990-05-17", "14:30", "Asia/Kolkata") + std::vector<std::string>{"--json"}).out);
    std::string expected = "1990-05-17,14:30,Asia/Kolkata,1990-05-17T09:00:00Z";
    for (const auto& body : json)
        expected += "," + body[1] + "," + (body[2] == "null" ? "" : body[2].substr(1, body[2].size() - 2));
    EXPECT_EQ(lines[1], expected);

    EXPECT_EQ(runCli({"positions", "--batch"}, "1990-05-17,14:30,+05:30\n").status, 0);
}

} // namespace
