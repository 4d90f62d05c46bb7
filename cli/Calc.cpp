#include "cli/Calc.h"

#include "almanac/Ascii.h"
#include "almanac/Captions.h"
#include "almanac/Details.h"
#include "almanac/Entries.h"
#include "almanac/Pair.h"
#include "charts/Csv.h"
#include "charts/Json.h"
#include "charts/Lines.h"
#include "cli/Shown.h"
#include "cli/Store.h"
#include "cli/Streams.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

namespace {

constexpr std::string_view kCalcHelp =
    R"(Each position is Sign,deg,min: the sign by its English name (Aries to Pisces, letter case
ignored), degrees 0 to 29 and minutes 0 to 59, e.g. calc Aries,0,0 Taurus,24,30 Pisces,29,59 Aries,0,0.
The outer pair is Sun and Moon, the inner AK and AmK; every name comes from the database file's own
tables. With --json, one object {"external": {...}, "internal": {...}} holds for each pair the tithi,
the elongation (degrees 0-359, minutes, sign 0-11), rashi, nakshatra (null for the inner pair), yoga,
lord, deity, karana and the details, which list in "uncertain" the figures within one arc-minute of a
boundary.

With --batch, lines of twelve whole numbers are read from standard input,
  sun_sign,sun_deg,sun_min,moon_sign,moon_deg,moon_min,ak_sign,ak_deg,ak_min,amk_sign,amk_deg,amk_min
signs 1 (Aries) to 12 (Pisces); a first line starting with a letter is taken for a header. CSV goes
to standard output: a header line, then a line per chart with the columns
  external_tithi,external_elongation,external_rashi,nakshatra,external_yoga,external_karana,
  internal_tithi,internal_elongation,internal_rashi,internal_yoga,internal_karana
the elongation as "1S 24deg 30mins". A line that cannot be read is skipped with a message on standard
error naming its line number, and the rest go on; a line longer than 1 MiB stops the batch.

Exit status: 0 done; 1 some lines skipped; 2 invalid arguments or a line longer than 1 MiB; 3 the
database file is missing or damaged, standard input cannot be read, or standard output written.)";

constexpr std::array<std::string_view, 4> kArgumentNames{"SUN", "MOON", "AK", "AMK"};
constexpr std::array<std::string_view, 12> kBatchFields{
    "sun_sign", "sun_deg", "sun_min", "moon_sign", "moon_deg", "moon_min",
    "ak_sign",  "ak_deg",  "ak_min",  "amk_sign",  "amk_deg",  "amk_min",
};
constexpr std::string_view kBatchHeader =
    "external_tithi,external_elongation,external_rashi,nakshatra,external_yoga,external_karana,"
    "internal_tithi,internal_elongation,internal_rashi,internal_yoga,internal_karana\n";
constexpr std::size_t kBlock = std::size_t{1} << 20;

struct Arguments {
    std::array<std::string, 4> positions;
    StoreChoice store;
    bool json = false;
    bool batch = false;
};

// Sun, Moon, AK, AmK in arc-minutes from 0 Aries.
using Longitudes = std::array<int, 4>;

// Digits only, below `limit`.
std::optional<int> wholeNumber(std::string_view text, int limit) {
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value < limit ? std::optional<int>(value) : std::nullopt;
}

int longitudeOf(std::size_t body, const std::string& text) {
    const auto refuse = [&](const std::string& why) {
        return UsageError(std::string(kArgumentNames[body]) + ": \"" + text + "\" " + why);
    };
    const auto first = text.find(',');
    const auto second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos || text.find(',', second + 1) != std::string::npos)
        throw refuse("is not a position; give it as Sign,deg,min, e.g. Taurus,24,30");
    const std::string_view all(text);
    const std::string_view signName = almanac::trimmedAscii(all.substr(0, first));
    const auto sign = charts::signOfName(signName);
    if (!sign)
        throw refuse("does not start with a sign; give its English name, Aries to Pisces");
    const auto degrees = wholeNumber(almanac::trimmedAscii(all.substr(first + 1, second - first - 1)),
                                     almanac::kDegreesPerSign);
    if (!degrees)
        throw refuse("has degrees that are not a whole number from 0 to 29");
    const auto minutes =
        wholeNumber(almanac::trimmedAscii(all.substr(second + 1)), almanac::kMinutesPerDegree);
    if (!minutes)
        throw refuse("has minutes that are not a whole number from 0 to 59");
    return almanac::longitudeMinutes(*sign - 1, *degrees, *minutes);
}

std::string padded(std::string_view label) {
    std::string line(label);
    line.resize(17, ' ');
    return line;
}

void writeText(std::ostream& out, charts::NameTables& names, const Longitudes& longitudes) {
    // Tithi, nakshatra, yoga and karana of each pair, as the window's result lines show them.
    const auto shown = [&](int first, int second) {
        std::array<std::string, 4> lines;
        charts::pairResults(almanac::computePair(first, second), names,
                            [&](const charts::ResultText& result) {
                                lines[static_cast<std::size_t>(result.result)] = result.shown;
                            });
        return lines;
    };
    const auto outer = shown(longitudes[0], longitudes[1]);
    const auto inner = shown(longitudes[2], longitudes[3]);
    out << padded("External Tithi") << outer[0] << '\n'
        << padded("Nakshatra") << outer[1] << '\n'
        << padded("External Yoga") << outer[2] << '\n'
        << padded("External Karana") << outer[3] << '\n'
        << padded("Internal Tithi") << inner[0] << '\n'
        << padded("Internal Yoga") << inner[2] << '\n'
        << padded("Internal Karana") << inner[3] << '\n';
}

std::string pairJson(const charts::NameTables& names, const almanac::PairResult& pair, int second,
                     bool outer) {
    const almanac::PairDetails details = almanac::pairDetails(pair, second);
    const almanac::YogaNames& yoga = names.yogas[static_cast<std::size_t>(pair.yoga)];
    const auto number = [](int value) {
        return std::to_string(value);
    };
    std::vector<std::string_view> uncertain;
    if (details.tithi.uncertain && (details.tithiInPaksha == 1 || details.tithiInPaksha == 15))
        uncertain.push_back("paksha");
    const std::pair<std::string_view, bool> figures[] = {
        {"tithi", details.tithi.uncertain},       {"yoga", details.yoga.uncertain},
        {"karana", details.karana.uncertain},     {"nakshatra", outer && details.nakshatra.uncertain},
        {"pada", outer && details.padaUncertain},
    };
    for (const auto& [figure, unsure] : figures)
        if (unsure)
            uncertain.push_back(figure);

    std::string json =
        "{\"tithi\": " + charts::jsonString(names.tithis[static_cast<std::size_t>(pair.tithi)]) +
        ", \"elongation\": {\"degrees\": " + number(pair.elongationDegrees) +
        ", \"minutes\": " + number(pair.elongationMinutes) + ", \"sign\": " + number(pair.elongationSign) +
        "}, \"rashi\": " + charts::jsonString(names.rashis[static_cast<std::size_t>(pair.elongationSign)]) +
        ", \"nakshatra\": " +
        (outer ? charts::jsonString(names.nakshatras[static_cast<std::size_t>(pair.nakshatra)]) : "null") +
        ", \"yoga\": " + charts::jsonString(yoga.name) + ", \"lord\": " + charts::jsonString(yoga.lord) +
        ", \"deity\": " + charts::jsonString(yoga.deity) +
        ", \"karana\": " + charts::jsonString(names.karanas[static_cast<std::size_t>(pair.karana)]) +
        ", \"details\": {\"paksha\": " + charts::jsonString(almanac::pakshaName(details.paksha)) +
        ", \"tithi_in_paksha\": " + number(details.tithiInPaksha) +
        ", \"tithi_percent\": " + number(details.tithi.percent) +
        ", \"yoga_percent\": " + number(details.yoga.percent) +
        ", \"karana_percent\": " + number(details.karana.percent);
    if (outer)
        json += ", \"pada\": " + number(details.pada) +
                ", \"nakshatra_lord\": " + charts::jsonString(almanac::vimshottariLord(pair.nakshatra)) +
                ", \"nakshatra_percent\": " + number(details.nakshatra.percent);
    json += ", \"uncertain\": [";
    for (std::size_t at = 0; at < uncertain.size(); ++at)
        json += (at ? ", " : "") + charts::jsonString(uncertain[at]);
    return json + "]}}";
}

void writeJson(std::ostream& out, const charts::NameTables& names, const Longitudes& longitudes) {
    out << "{\"external\": "
        << pairJson(names, almanac::computePair(longitudes[0], longitudes[1]), longitudes[1], true)
        << ", \"internal\": "
        << pairJson(names, almanac::computePair(longitudes[2], longitudes[3]), longitudes[3], false) << "}\n";
}

// Every piece of an output line made once, as CSV with the separator after it, so that a line is
// thirteen copies and no formatting. The pieces lie in one small block, each padded to whole chunks of
// kChunk bytes, and are copied a chunk at a time: a fixed-size copy that the compiler does in a few
// instructions, where a library call per piece cost a third of the time. (A table of the whole
// elongation text for each of the 21,600 arc-minutes was slower: too big for the cache.)
class BatchPieces {
public:
    static constexpr std::size_t kChunk = 32;

    explicit BatchPieces(const charts::NameTables& names) {
        for (const std::string& name : names.tithis)
            add(m_tithi, charts::csvField(name) + ',');
        for (int degrees = 0; degrees < 360; ++degrees)
            add(m_signDegrees, std::to_string(degrees / almanac::kDegreesPerSign) + "S " +
                                   std::to_string(degrees % almanac::kDegreesPerSign) + "deg ");
        for (int minutes = 0; minutes < almanac::kMinutesPerDegree; ++minutes)
            add(m_minutes, std::to_string(minutes) + "mins,");
        for (const std::string& name : names.rashis)
            add(m_rashi, charts::csvField(name) + ',');
        for (const std::string& name : names.nakshatras)
            add(m_nakshatra, charts::csvField(name) + ',');
        for (const almanac::YogaNames& yoga : names.yogas)
            add(m_yoga, charts::csvField(yoga.name) + ',');
        for (const std::string& name : names.karanas) {
            add(m_karana, charts::csvField(name) + ',');
            add(m_lastKarana, charts::csvField(name) + '\n');
        }
        const auto longest = [](const std::vector<Piece>& pieces) {
            return std::ranges::max(pieces, {}, &Piece::size).size;
        };
        m_longestLine = 2 * (longest(m_tithi) + longest(m_signDegrees) + longest(m_minutes) +
                             longest(m_rashi) + longest(m_yoga) + longest(m_karana)) +
                        longest(m_nakshatra);
    }

    // The room one line needs: its most bytes, and a chunk more, as a copy may run past its end.
    std::size_t roomForLine() const { return m_longestLine + kChunk; }

    // Writes the line at `at`, which has roomForLine(); returns where it ends.
    char* putLine(char* at, const Longitudes& longitudes) const {
        const almanac::PairResult outer = almanac::computePair(longitudes[0], longitudes[1]);
        const almanac::PairResult inner = almanac::computePair(longitudes[2], longitudes[3]);
        at = putElongation(at, outer);
        at = put(at, m_nakshatra, outer.nakshatra);
        at = put(at, m_yoga, outer.yoga);
        at = put(at, m_karana, outer.karana);
        at = putElongation(at, inner);
        at = put(at, m_yoga, inner.yoga);
        return put(at, m_lastKarana, inner.karana);
    }

private:
    struct Piece {
        std::size_t offset;
        std::size_t size;
    };

    void add(std::vector<Piece>& pieces, const std::string& text) {
        pieces.push_back({m_block.size(), text.size()});
        m_block += text;
        m_block.resize((m_block.size() + kChunk - 1) / kChunk * kChunk + kChunk, '\0');
    }

    char* put(char* at, const std::vector<Piece>& pieces, int index) const {
        const Piece& piece = pieces[static_cast<std::size_t>(index)];
        const char* from = m_block.data() + piece.offset;
        for (std::size_t done = 0; done < piece.size; done += kChunk)
            std::memcpy(at + done, from + done, kChunk);
        return at + piece.size;
    }

    // "Shukla Panchami,1S 24deg 30mins,Vrishabha,"
    char* putElongation(char* at, const almanac::PairResult& pair) const {
        at = put(at, m_tithi, pair.tithi);
        at = put(at, m_signDegrees, pair.elongationDegrees);
        at = put(at, m_minutes, pair.elongationMinutes);
        return put(at, m_rashi, pair.elongationSign);
    }

    std::string m_block;
    std::vector<Piece> m_tithi;
    std::vector<Piece> m_signDegrees; // by whole degrees of elongation
    std::vector<Piece> m_minutes;
    std::vector<Piece> m_rashi;
    std::vector<Piece> m_nakshatra;
    std::vector<Piece> m_yoga;
    std::vector<Piece> m_karana;
    std::vector<Piece> m_lastKarana; // ending the line
    std::size_t m_longestLine = 0;
};

// The highest value of each of a body's three numbers, and the lowest.
constexpr std::array<int, 3> kHighest{almanac::kSignsPerCircle, almanac::kDegreesPerSign - 1,
                                      almanac::kMinutesPerDegree - 1};
constexpr std::array<int, 3> kLowest{1, 0, 0};

Longitudes longitudesOf(const std::array<int, 12>& values) {
    Longitudes longitudes{};
    for (std::size_t body = 0; body < longitudes.size(); ++body)
        longitudes[body] =
            almanac::longitudeMinutes(values[3 * body] - 1, values[3 * body + 1], values[3 * body + 2]);
    return longitudes;
}

// The usual line, twelve numbers of one or two digits within their ranges, commas between and nothing
// else, read in one pass with no branch on the count of digits; false for anything else, which
// batchLine() then reads again to say what is wrong. The byte at `end` must be readable: the line's
// '\n', or the NUL after a std::string.
bool quickLine(const char* at, const char* end, Longitudes& longitudes) {
    std::array<int, 12> values{};
    for (std::size_t field = 0; field < values.size(); ++field) {
        const unsigned first = static_cast<unsigned char>(at[0]) - unsigned{'0'};
        if (first > 9 || at == end)
            return false;
        const unsigned second = static_cast<unsigned char>(at[1]) - unsigned{'0'};
        const bool two = second <= 9; // at[1] is at most the byte at `end`, never a digit
        const int value = static_cast<int>(two ? first * 10 + second : first);
        at += two ? 2 : 1;
        if (value > kHighest[field % 3] || value < kLowest[field % 3])
            return false;
        if (field + 1 < values.size()) {
            if (*at != ',' || at == end)
                return false;
            ++at;
        }
        values[field] = value;
    }
    if (at < end && *at == '\r')
        ++at;
    if (at != end)
        return false;
    longitudes = longitudesOf(values);
    return true;
}

// The four longitudes of one batch line, or what is wrong with it.
std::optional<Longitudes> batchLine(std::string_view line, std::string& why) {
    std::array<std::string_view, 12> fields;
    if (!charts::splitFields(line, fields)) {
        why = "expected twelve numbers, sign,deg,min for Sun, Moon, AK and AmK";
        return std::nullopt;
    }
    std::array<int, 12> values{};
    for (std::size_t field = 0; field < values.size(); ++field) {
        const int low = kLowest[field % 3];
        const int high = kHighest[field % 3];
        const std::optional<int> value = wholeNumber(fields[field], high + 1);
        if (!value || *value < low) {
            why = std::string(kBatchFields[field]) + " must be a whole number from " + std::to_string(low) +
                  " to " + std::to_string(high) + ", not \"" + std::string(fields[field]) + "\"";
            return std::nullopt;
        }
        values[field] = *value;
    }
    return longitudesOf(values);
}

// Reads standard input a mebibyte at a time and writes a mebibyte at a time; lines are cut from the
// blocks in place, and only a line split between two blocks is copied.
int runBatch(const charts::NameTables& names, Io io) {
    LineReader lines(io.in, "standard input");
    const BatchPieces pieces(names);
    std::vector<char> out(kBlock + pieces.roomForLine() + kBatchHeader.size());
    char* put = std::copy(kBatchHeader.begin(), kBatchHeader.end(), out.data());
    char* const full = out.data() + kBlock;
    const auto flush = [&] {
        io.out.write(out.data(), put - out.data());
        put = out.data();
        if (!io.out)
            throw OutputLost();
    };
    bool skipped = false;
    std::string why;
    const auto take = [&](std::string_view line) {
        Longitudes longitudes{};
        if (!quickLine(line.data(), line.data() + line.size(), longitudes)) {
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            const std::string_view content = almanac::trimmedAscii(line);
            if (content.empty())
                return;
            if (lines.number() == 1 && almanac::isAsciiLetter(content.front()))
                return; // a header
            const std::optional<Longitudes> read = batchLine(line, why);
            if (!read) {
                io.err << "velmorant-cli: line " << lines.number() << ": "
                       << shownMessage(why, io.errIsTerminal) << '\n';
                skipped = true;
                return;
            }
            longitudes = *read;
        }
        put = pieces.putLine(put, longitudes);
        if (put >= full)
            flush();
    };

    try {
        while (const std::optional<std::string_view> line = lines.next())
            take(*line);
    } catch (const UsageError&) {
        flush(); // the lines before the one refused are answered
        throw;
    }
    flush();
    io.out.flush();
    return skipped ? kFailure : kSuccess;
}

int runCalc(const Arguments& arguments, Io io) {
    Longitudes longitudes{};
    if (arguments.batch && !arguments.positions[0].empty())
        throw UsageError("--batch: the positions come from standard input; give none on the command line");
    if (!arguments.batch) {
        for (std::size_t body = 0; body < longitudes.size(); ++body) {
            if (arguments.positions[body].empty())
                throw UsageError(std::string(kArgumentNames[body]) +
                                 ": missing; give all four positions as Sign,deg,min, e.g. "
                                 "calc Aries,0,0 Taurus,24,30 Pisces,29,59 Aries,0,0");
            longitudes[body] = longitudeOf(body, arguments.positions[body]);
        }
    }
    charts::NameTables names = charts::NameTables::read(*openChosenStore(arguments.store));
    if (arguments.batch)
        return runBatch(names, io);
    if (arguments.json)
        writeJson(io.out, names, longitudes);
    else
        writeText(io.out, names, longitudes);
    return kSuccess;
}

} // namespace

void addCalcCommand(CLI::App& app, Io io, int& status) {
    const auto arguments = std::make_shared<Arguments>();
    CLI::App* command = app.add_subcommand(
        "calc",
        "Tithi, nakshatra, yoga and karana of the outer pair (Sun and Moon) and the inner pair (AK and "
        "AmK), from the four positions.");
    const char* const helps[] = {"The Sun, as Sign,deg,min", "The Moon, as Sign,deg,min",
                                 "The Atmakaraka, as Sign,deg,min", "The Amatyakaraka, as Sign,deg,min"};
    for (std::size_t body = 0; body < kArgumentNames.size(); ++body)
        command->add_option(std::string(kArgumentNames[body]), arguments->positions[body], helps[body]);
    addStoreOptions(*command, arguments->store);
    CLI::Option* json = command->add_flag("--json", arguments->json, "Write one JSON object");
    command->add_flag("--batch", arguments->batch, "Read many charts as CSV on standard input; see below")
        ->excludes(json);
    command->footer(std::string(kCalcHelp));
    command->callback([arguments, io, &status] { status = runCalc(*arguments, io); });
}

} // namespace cli
