// Charts as they leave the file and come into one: CSV or JSON, a chart a row or an object, with the
// columns
//     name, sun_sign, sun_deg, sun_min, moon_..., ak_..., amk_...,
//     birth_date, birth_time, birth_zone, ayanamsa, karakas, node, birth_place, birth_latitude,
//     birth_longitude
// Signs are their English names as the selectors show them; the birth columns are empty (CSV) or left
// out (JSON) for a chart without birth data, and the place's three for a chart without a place. A file
// written before places, without their columns, reads as before. Names go out and come back byte for byte:
// one that is not UTF-8, or begins with a backslash, as exchangedText() writes it.
#pragma once

#include "store/StoredChart.h"

#include <array>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sky {
class Ephemeris;
}

namespace charts {

enum class Format { Csv, Json };

// By the file's extension, .csv or .json, letter case ignored.
std::optional<Format> formatOfPath(std::string_view path);
// "csv" or "json".
std::optional<Format> parseFormat(std::string_view name);

inline constexpr std::array<std::string_view, 22> kExchangeColumns{
    "name",     "sun_sign",    "sun_deg",        "sun_min",         "moon_sign", "moon_deg",
    "moon_min", "ak_sign",     "ak_deg",         "ak_min",          "amk_sign",  "amk_deg",
    "amk_min",  "birth_date",  "birth_time",     "birth_zone",      "ayanamsa",  "karakas",
    "node",     "birth_place", "birth_latitude", "birth_longitude",
};

class ChartWriter {
public:
    ChartWriter(std::ostream& out, Format format);
    void write(const store::StoredChart& chart);
    // Ends the document; nothing may be written after.
    void finish();

private:
    std::ostream& m_out;
    Format m_format;
    bool m_first = true;
    std::string m_buffer;
};

// A chart that cannot be taken, and the line it begins on.
class ReadError : public std::runtime_error {
public:
    ReadError(int line, const std::string& what);
    int line() const { return m_line; }

private:
    int m_line;
};

// The ephemeris that checks a chart's positions against its birth data, made at the first need.
using EphemerisSource = std::function<sky::Ephemeris&()>;

// Reads in bounded memory: a CSV line, a chart or a JSON string over 1 MiB is a chart that cannot be
// taken. Fields but the name lose the ASCII white space at their ends. A chart with birth data is taken
// only when the birth data is what the window would take and gives its four positions to the
// arc-minute, as Fill positions does.
class ChartReader {
public:
    ChartReader(std::istream& in, Format format, EphemerisSource ephemeris);
    ~ChartReader();
    ChartReader(const ChartReader&) = delete;
    ChartReader& operator=(const ChartReader&) = delete;

    // The next chart, or none after the last. Throws ReadError for one that cannot be taken.
    std::optional<store::NewChart> next();

    class Source; // CSV or JSON

private:
    std::unique_ptr<Source> m_source;
    EphemerisSource m_ephemeris;
};

} // namespace charts
