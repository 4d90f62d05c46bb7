#include "charts/Exchange.h"

#include "almanac/Ascii.h"
#include "almanac/Entries.h"
#include "almanac/Pair.h"
#include "charts/Csv.h"
#include "charts/Json.h"
#include "charts/Lines.h"
#include "charts/Reckoning.h"
#include "sky/Ephemeris.h"
#include "sky/Longitude.h"
#include "sky/Options.h"
#include "sky/Time.h"

#include <algorithm>
#include <charconv>
#include <istream>
#include <ostream>
#include <utility>

namespace charts {

namespace {

constexpr std::size_t kChartFields = 13; // the name and the twelve positions
constexpr std::size_t kBirthDate = 13;
constexpr std::size_t kBirthPlace = 19; // the place's three columns, which a chart may leave empty

// A stored sign as its name; a damaged one as it is stored, so that nothing is hidden.
std::string signName(const store::Value& value) {
    if (const auto* whole = std::get_if<std::int64_t>(&value.data()))
        if (*whole >= 1 && *whole <= almanac::kSignsPerCircle)
            return std::string(almanac::kSignEntries[static_cast<std::size_t>(*whole)]);
    return value.isNull() ? std::string() : store::Field("sign", value).toText();
}

std::string text(const store::Value& value) {
    return value.isNull() ? std::string() : store::Field("position", value).toText();
}

// The values of one chart, as texts.
std::array<std::string, kExchangeColumns.size()> fieldsOf(const store::StoredChart& chart) {
    std::array<std::string, kExchangeColumns.size()> fields;
    fields[0] = exchangedText(chart.name);
    for (std::size_t position = 0; position < chart.positions.size(); ++position)
        fields[position + 1] =
            position % 3 == 0 ? signName(chart.positions[position]) : text(chart.positions[position]);
    if (chart.birth)
        fields = {fields[0],
                  fields[1],
                  fields[2],
                  fields[3],
                  fields[4],
                  fields[5],
                  fields[6],
                  fields[7],
                  fields[8],
                  fields[9],
                  fields[10],
                  fields[11],
                  fields[12],
                  chart.birth->date,
                  chart.birth->time,
                  chart.birth->zone,
                  chart.birth->ayanamsa,
                  std::to_string(chart.birth->karakas),
                  chart.birth->node,
                  chart.birth->place,
                  chart.birth->latitude,
                  chart.birth->longitude};
    return fields;
}

bool isWholeNumber(std::size_t column) {
    return (column >= 1 && column < kChartFields && column % 3 != 1) || kExchangeColumns[column] == "karakas";
}

int number(std::string_view field, std::string_view column, int limit) {
    int value = -1;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || ec != std::errc{} || end != field.data() + field.size() || value < 0 ||
        value >= limit)
        throw std::invalid_argument(std::string(column) + " must be a whole number from 0 to " +
                                    std::to_string(limit - 1) + ", not \"" + std::string(field) + "\"");
    return value;
}

// The birth data of a chart as the window takes it, giving the chart's four positions.
void checkBirth(const store::BirthData& birth, const store::NewChart& chart, sky::Ephemeris& ephemeris) {
    Reckoning reckoning;
    try {
        reckoning = reckon(birth, ephemeris);
    } catch (const sky::InputError& e) {
        throw std::invalid_argument("birth_" + std::string(sky::fieldName(e.field())) + ": " + e.what());
    } catch (const sky::OutOfRange& e) {
        throw std::invalid_argument("birth_date: " + std::string(e.what()));
    }
    const auto longitudes = reckoning.rowLongitudes();
    for (std::size_t row = 0; row < chart.bodies.size(); ++row) {
        const store::StoredBody& body = chart.bodies[row];
        const int given = ((body.sign - 1) * almanac::kDegreesPerSign + std::stoi(body.degrees)) *
                              almanac::kMinutesPerDegree +
                          std::stoi(body.minutes);
        const int reckoned = sky::arcMinute(longitudes[row]);
        if (given != reckoned)
            throw std::invalid_argument("the birth data puts the " +
                                        std::string(almanac::kBodyCaptions[row]) + " at " +
                                        signPosition(reckoned) + ", not at " + signPosition(given));
    }
}

// One chart from its fields (an empty text for a field not given).
store::NewChart chartOf(const std::array<std::optional<std::string>, kExchangeColumns.size()>& given,
                        const EphemerisSource& ephemeris) {
    const auto field = [&](std::size_t column) -> std::string_view {
        return given[column] ? almanac::trimmedAscii(*given[column]) : std::string_view();
    };
    store::NewChart chart;
    const std::optional<std::string> name = textOfExchanged(given[0].value_or(std::string()));
    if (!name)
        throw std::invalid_argument(
            "the name begins with a backslash, so it is escaped, but is not written as an export writes "
            "it: a backslash, then the name with each backslash doubled and each byte that is not UTF-8 as "
            "\\xHH");
    if (name->empty())
        throw std::invalid_argument("the name is empty");
    if (!given[0]->starts_with('\\') && !isUtf8(*name))
        throw std::invalid_argument("the name is not UTF-8 text");
    chart.name = *name;
    for (std::size_t body = 0; body < chart.bodies.size(); ++body) {
        const std::size_t at = 1 + 3 * body;
        const auto sign = signOfName(field(at));
        if (!sign)
            throw std::invalid_argument(std::string(kExchangeColumns[at]) + " \"" + std::string(field(at)) +
                                        "\" is not a sign; give its English name, Aries to Pisces");
        chart.bodies[body] = {static_cast<std::int16_t>(*sign),
                              std::to_string(number(field(at + 1), kExchangeColumns[at + 1], 30)),
                              std::to_string(number(field(at + 2), kExchangeColumns[at + 2], 60))};
    }
    bool anyBirth = false;
    for (std::size_t column = kBirthDate; column < given.size(); ++column)
        anyBirth = anyBirth || !field(column).empty();
    if (!anyBirth)
        return chart;
    for (std::size_t column = kBirthDate; column < kBirthPlace; ++column)
        if (field(column).empty())
            throw std::invalid_argument(std::string(kExchangeColumns[column]) +
                                        " is empty, though the chart has other birth data");
    store::BirthData birth{
        std::string(field(13)), std::string(field(14)), std::string(field(15)), std::string(field(16)), 0,
        std::string(field(18)), std::string(field(19)), std::string(field(20)), std::string(field(21))};
    if (!sky::parseAyanamsa(birth.ayanamsa))
        throw std::invalid_argument(
            "ayanamsa \"" + birth.ayanamsa +
            "\" is not one of lahiri, raman, krishnamurti, fagan-bradley, true-chitra, "
            "yukteshwar");
    if (field(17) != "8" && field(17) != "7")
        throw std::invalid_argument("karakas must be 8 or 7, not \"" + std::string(field(17)) + "\"");
    birth.karakas = field(17) == "8" ? 8 : 7;
    if (!sky::parseNode(birth.node))
        throw std::invalid_argument("node must be mean or true, not \"" + birth.node + "\"");
    // A place named without coordinates is kept with the city's full name and coordinates, as Fill
    // positions keeps it; the zone stays the file's own.
    if (!completePlace(birth, false))
        throw std::invalid_argument(
            "birth_place \"" + birth.place +
            "\" is not a city Velmorant knows; give birth_latitude and birth_longitude");
    checkBirth(birth, chart, ephemeris());
    chart.birth = std::move(birth);
    return chart;
}

} // namespace

std::optional<Format> formatOfPath(std::string_view path) {
    const auto dot = path.rfind('.');
    return dot == std::string_view::npos ? std::nullopt : parseFormat(path.substr(dot + 1));
}

std::optional<Format> parseFormat(std::string_view name) {
    if (almanac::sameAsciiLetters(name, "csv"))
        return Format::Csv;
    if (almanac::sameAsciiLetters(name, "json"))
        return Format::Json;
    return std::nullopt;
}

ChartWriter::ChartWriter(std::ostream& out, Format format)
    : m_out(out)
    , m_format(format) {
    if (format == Format::Json) {
        m_out << '[';
        return;
    }
    std::string header;
    for (const std::string_view column : kExchangeColumns)
        header += std::string(header.empty() ? "" : ",") + std::string(column);
    m_out << header << '\n';
}

void ChartWriter::write(const store::StoredChart& chart) {
    const auto fields = fieldsOf(chart);
    m_buffer.clear();
    if (m_format == Format::Csv) {
        for (std::size_t column = 0; column < fields.size(); ++column) {
            if (column)
                m_buffer += ',';
            appendCsvField(m_buffer, fields[column]);
        }
        m_buffer += '\n';
    } else {
        m_buffer += m_first ? "\n  {" : ",\n  {";
        for (std::size_t column = 0; column < fields.size(); ++column) {
            if (column >= kBirthDate && !chart.birth)
                break;
            if (column >= kBirthPlace && fields[column].empty())
                continue;
            m_buffer += column ? ", " : "";
            m_buffer += jsonString(kExchangeColumns[column]) + ": ";
            const bool bare = isWholeNumber(column) && !fields[column].empty() &&
                              fields[column].find_first_not_of("0123456789") == std::string::npos;
            m_buffer += bare ? fields[column] : jsonString(fields[column]);
        }
        m_buffer += '}';
    }
    m_first = false;
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
}

void ChartWriter::finish() {
    if (m_format == Format::Json)
        m_out << (m_first ? "]\n" : "\n]\n");
    m_out.flush();
}

ReadError::ReadError(int line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what)
    , m_line(line) {}

// Where charts come from: fields by column, one chart at a time.
class ChartReader::Source {
public:
    using Fields = std::array<std::optional<std::string>, kExchangeColumns.size()>;
    virtual ~Source() = default;
    // The fields of the next chart, or false after the last; `line` is where it begins.
    virtual bool next(Fields& fields, int& line) = 0;
};

namespace {

constexpr std::size_t kMaxLine = std::size_t{1} << 20;

class CsvSource final : public ChartReader::Source {
public:
    explicit CsvSource(std::istream& in)
        : m_in(in) {
        // A byte order mark, as spreadsheet programs write one, comes before the header and is no part
        // of it; any other first byte of that value begins no column's name.
        if (m_in.peek() == 0xEF) {
            char mark[3] = {};
            m_in.read(mark, sizeof mark);
            if (std::string_view(mark, static_cast<std::size_t>(m_in.gcount())) != "\xEF\xBB\xBF")
                throw ReadError(1, "the header begins with bytes that name no column");
        }
        std::vector<std::string> header;
        int line = 0;
        if (!record(header, line))
            throw ReadError(1, "the file is empty; a header line naming the columns comes first");
        for (std::size_t at = 0; at < header.size(); ++at) {
            const auto known = std::ranges::find(kExchangeColumns, header[at]);
            if (known == kExchangeColumns.end())
                throw ReadError(1, "the header names an unknown column \"" + header[at] + "\"");
            const auto column = static_cast<std::size_t>(known - kExchangeColumns.begin());
            if (std::ranges::find(m_columns, column) != m_columns.end())
                throw ReadError(1, "the header names the column " + header[at] + " twice");
            m_columns.push_back(column);
        }
        for (std::size_t column = 0; column < kChartFields; ++column)
            if (std::ranges::find(m_columns, column) == m_columns.end())
                throw ReadError(1, "the header has no column " + std::string(kExchangeColumns[column]));
    }

    bool next(Fields& fields, int& line) override {
        std::vector<std::string> values;
        do {
            if (!record(values, line))
                return false;
        } while (values.size() == 1 && values[0].empty()); // a blank line
        if (values.size() != m_columns.size())
            throw ReadError(line, std::to_string(values.size()) + " fields where the header names " +
                                      std::to_string(m_columns.size()));
        fields = {};
        for (std::size_t at = 0; at < values.size(); ++at)
            fields[m_columns[at]] = std::move(values[at]);
        return true;
    }

private:
    // One record (RFC 4180); a quoted field may hold commas, quotes (doubled) and line breaks, kept
    // exactly. No line, and no record, may pass kMaxLine bytes.
    bool record(std::vector<std::string>& fields, int& line) {
        fields.assign(1, std::string());
        line = m_line + 1;
        if (m_in.peek() == std::char_traits<char>::eof())
            return false;
        bool quoted = false;
        std::size_t lineBytes = 0, recordBytes = 0;
        const auto newLine = [&] {
            ++m_line;
            lineBytes = 0;
        };
        for (;;) {
            const int c = m_in.get();
            // The line breaks that end a line or a chart are no part of it.
            const bool content = c != std::char_traits<char>::eof() && c != '\n';
            if (content && ++lineBytes > kMaxLine)
                throw ReadError(m_line + 1, "the line is longer than 1 MiB");
            if ((content || (c == '\n' && quoted)) && ++recordBytes > kMaxLine)
                throw ReadError(line, "the chart is longer than 1 MiB");
            if (c == std::char_traits<char>::eof()) {
                if (quoted)
                    throw ReadError(line, "a quoted field runs to the end of the file");
                newLine();
                return true;
            }
            if (quoted) {
                if (c != '"') {
                    if (c == '\n')
                        newLine();
                    fields.back() += static_cast<char>(c);
                } else if (m_in.peek() == '"') {
                    fields.back() += static_cast<char>(m_in.get());
                } else {
                    quoted = false;
                    const int after = m_in.peek();
                    if (after != ',' && after != '\n' && after != '\r' &&
                        after != std::char_traits<char>::eof())
                        throw ReadError(m_line + 1,
                                        "a quoted field is followed by more than a comma or a line end");
                }
            } else if (c == '"') {
                if (!fields.back().empty())
                    throw ReadError(m_line + 1, "a quote inside a field that does not begin with one; "
                                                "quote the whole field and double the quote");
                quoted = true;
            } else if (c == ',') {
                fields.emplace_back();
            } else if (c == '\n') {
                newLine();
                return true;
            } else if (c == '\r') {
                if (m_in.peek() != '\n')
                    throw ReadError(m_line + 1,
                                    "a carriage return without a line feed; quote the field that holds it");
            } else {
                fields.back() += static_cast<char>(c);
            }
        }
    }

    std::istream& m_in;
    std::vector<std::size_t> m_columns;
    int m_line = 0;
};

class JsonSource final : public ChartReader::Source {
    // A JSON error is a chart that cannot be taken, on the line the reader stands on.
    template <typename Read>
    auto guard(Read&& read) {
        try {
            return read();
        } catch (const JsonError& e) {
            throw ReadError(e.line(), e.what());
        }
    }

public:
    explicit JsonSource(std::istream& in)
        : m_json(in) {
        guard([&] { m_json.expect('['); });
    }

    bool next(Fields& fields, int& line) override {
        return guard([&] {
            if (m_first ? m_json.take(']') : !m_json.take(',')) {
                if (!m_first)
                    m_json.expect(']');
                if (!m_json.atEnd())
                    m_json.fail("more follows the list of charts");
                return false;
            }
            m_first = false;
            m_json.expect('{');
            line = m_json.line();
            fields = {};
            if (m_json.take('}'))
                return true;
            std::array<bool, kExchangeColumns.size()> seen{};
            do {
                const std::string key = m_json.readString();
                m_json.expect(':');
                const auto known = std::ranges::find(kExchangeColumns, key);
                if (known == kExchangeColumns.end())
                    m_json.fail("an unknown key \"" + key + "\"");
                const auto column = static_cast<std::size_t>(known - kExchangeColumns.begin());
                if (std::exchange(seen[column], true))
                    m_json.fail("the key " + key + " twice in one chart");
                const JsonReader::Scalar value = m_json.readScalar();
                auto& field = fields[column];
                if (const auto* whole = std::get_if<std::int64_t>(&value))
                    field = std::to_string(*whole);
                else if (const auto* string = std::get_if<std::string>(&value))
                    field = *string;
            } while (m_json.take(','));
            m_json.expect('}');
            return true;
        });
    }

private:
    JsonReader m_json;
    bool m_first = true;
};

} // namespace

ChartReader::ChartReader(std::istream& in, Format format, EphemerisSource ephemeris)
    : m_ephemeris(std::move(ephemeris)) {
    if (format == Format::Csv)
        m_source = std::make_unique<CsvSource>(in);
    else
        m_source = std::make_unique<JsonSource>(in);
}

ChartReader::~ChartReader() = default;

std::optional<store::NewChart> ChartReader::next() {
    Source::Fields fields;
    int line = 0;
    if (!m_source->next(fields, line))
        return std::nullopt;
    try {
        return chartOf(fields, m_ephemeris);
    } catch (const std::invalid_argument& e) {
        throw ReadError(line, e.what());
    }
}

} // namespace charts
