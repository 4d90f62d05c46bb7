#include "sky/Places.h"

#include "almanac/Ascii.h"
#include "sky/Time.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <geonames.h>
#include <glib.h>
#include <locale.h>
#include <optional>
#include <string>
#include <vector>

namespace sky {

namespace {

// A letter without an accent that has no decomposition of its own, as people type it.
std::string_view plainLetters(gunichar letter) {
    switch (letter) {
    case 0x00DF: // ß
        return "ss";
    case 0x00C6: // Æ
    case 0x00E6:
        return "ae";
    case 0x0152: // Œ
    case 0x0153:
        return "oe";
    case 0x00D8: // Ø
    case 0x00F8:
        return "o";
    case 0x0110: // Đ
    case 0x0111:
    case 0x00D0: // Ð
    case 0x00F0:
        return "d";
    case 0x0141: // Ł
    case 0x0142:
        return "l";
    case 0x0131: // dotless ı
        return "i";
    case 0x00DE: // Þ
    case 0x00FE:
        return "th";
    case 0x0126: // Ħ
    case 0x0127:
        return "h";
    case 0x018F: // Ə
    case 0x0259:
    case 0x01DD: // ǝ
        return "e";
    case 0x02BB: // ʻokina
    case 0x02BC: // modifier apostrophe
    case 0x2018: // quotation marks
    case 0x2019:
        return "'";
    case 0x2013: // dashes
    case 0x2014:
        return "-";
    default:
        return {};
    }
}

void appendFolded(std::string& out, gunichar letter) {
    if (g_unichar_ismark(letter))
        return; // a combining accent
    gunichar parts[G_UNICHAR_MAX_DECOMPOSITION_LENGTH];
    if (g_unichar_fully_decompose(letter, FALSE, parts, G_N_ELEMENTS(parts)) > 0 && parts[0] < 0x80) {
        out += almanac::asciiLower(static_cast<char>(parts[0]));
        return;
    }
    if (const std::string_view plain = plainLetters(letter); !plain.empty()) {
        out += plain;
        return;
    }
    char bytes[8];
    out.append(bytes, static_cast<std::size_t>(g_unichar_to_utf8(g_unichar_tolower(letter), bytes)));
}

// Text as the gazetteer compares it: lower case, and Latin letters without their accents ("São" is
// "sao"); other scripts in lower case. A byte that is not UTF-8 stays as it is.
std::string folded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at < end) {
        if (static_cast<unsigned char>(*at) < 0x80) {
            out += almanac::asciiLower(*at++);
            continue;
        }
        const gunichar letter = g_utf8_get_char_validated(at, end - at);
        if (letter == static_cast<gunichar>(-1) || letter == static_cast<gunichar>(-2)) {
            out += *at++;
            continue;
        }
        at = g_utf8_next_char(at);
        appendFolded(out, letter);
    }
    return out;
}

std::string textOf(const char* text) {
    return text ? std::string(text) : std::string();
}

// libgeonames gives its names through gettext, in the language of the calling thread's locale
// (LANGUAGE, LC_ALL, LC_MESSAGES or LANG): "München, Bayern, Deutschland" under LANGUAGE=de. The thread
// reads them under the C locale, where gettext gives the names untranslated, which are English. Only
// this thread's locale changes, for as long as the object lives.
class UntranslatedNames {
public:
    UntranslatedNames()
        : m_c(newlocale(LC_ALL_MASK, "C", locale_t(0))) {
        if (m_c)
            m_previous = uselocale(m_c);
    }
    ~UntranslatedNames() {
        if (m_c) {
            uselocale(m_previous);
            freelocale(m_c);
        }
    }
    UntranslatedNames(const UntranslatedNames&) = delete;
    UntranslatedNames& operator=(const UntranslatedNames&) = delete;

private:
    locale_t m_c;
    locale_t m_previous = locale_t(0);
};

} // namespace

std::string City::label() const {
    std::string text = name;
    for (const std::string* part : {&state, &country})
        if (!part->empty())
            text += ", " + *part;
    return text;
}

Gazetteer::Gazetteer() {
    {
        const UntranslatedNames english;
        const int count = std::max(geonames_get_n_cities(), 0);
        m_cities.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            GeonamesCity* city = geonames_get_city(i);
            if (!city)
                continue;
            m_cities.push_back({textOf(geonames_city_get_name(city)), textOf(geonames_city_get_state(city)),
                                textOf(geonames_city_get_country(city)),
                                textOf(geonames_city_get_timezone(city)), geonames_city_get_latitude(city),
                                geonames_city_get_longitude(city), geonames_city_get_population(city)});
            geonames_city_free(city);
        }
    }
    m_keys.reserve(m_cities.size());
    for (const City& city : m_cities)
        m_keys.push_back(folded(city.label()));
    m_byKey.resize(m_cities.size());
    for (std::uint32_t i = 0; i < m_byKey.size(); ++i)
        m_byKey[i] = i;
    std::sort(m_byKey.begin(), m_byKey.end(), [this](std::uint32_t a, std::uint32_t b) {
        if (const int order = m_keys[a].compare(m_keys[b]); order != 0)
            return order < 0;
        if (m_cities[a].population != m_cities[b].population)
            return m_cities[a].population > m_cities[b].population;
        return a < b;
    });
}

const Gazetteer& Gazetteer::instance() {
    // A static's initialisation is thread-safe: a second thread waits for the first to finish.
    static const Gazetteer gazetteer;
    return gazetteer;
}

std::pair<const std::uint32_t*, const std::uint32_t*> Gazetteer::withPrefix(std::string_view prefix) const {
    const std::uint32_t* const first = m_byKey.data();
    const std::uint32_t* const last = first + m_byKey.size();
    const std::uint32_t* from = std::lower_bound(
        first, last, prefix, [this](std::uint32_t city, std::string_view key) { return m_keys[city] < key; });
    const std::uint32_t* to = from;
    while (to != last && m_keys[*to].starts_with(prefix))
        ++to;
    return {from, to};
}

std::vector<const City*> Gazetteer::complete(std::string_view typed, std::size_t limit) const {
    std::vector<const City*> best;
    while (!typed.empty() && almanac::isAsciiBlank(typed.front()))
        typed.remove_prefix(1);
    const std::string key = folded(typed);
    if (key.empty() || limit == 0)
        return best;
    // The label begins with the name, so one prefix search finds both. The matches come in the keys'
    // order; the `limit` most populous are kept, in order, the first in that order among equals.
    const auto [from, to] = withPrefix(key);
    best.reserve(std::min(limit, static_cast<std::size_t>(to - from)) + 1);
    const auto morePopulous = [](const City* a, const City* b) {
        return a->population > b->population;
    };
    for (const std::uint32_t* at = from; at != to; ++at) {
        const City* city = &m_cities[*at];
        if (best.size() == limit && city->population <= best.back()->population)
            continue;
        best.insert(std::upper_bound(best.begin(), best.end(), city, morePopulous), city);
        if (best.size() > limit)
            best.pop_back();
    }
    return best;
}

const City* Gazetteer::find(std::string_view name) const {
    const std::string key = folded(almanac::trimmedAscii(name));
    if (key.empty())
        return nullptr;
    // Equal keys come most populous first.
    if (const auto [from, to] = withPrefix(key); from != to && m_keys[*from] == key)
        return &m_cities[*from];
    const City* found = nullptr;
    const auto [from, to] = withPrefix(key + ", ");
    for (const std::uint32_t* at = from; at != to; ++at) {
        const City& city = m_cities[*at];
        if ((!found || city.population > found->population) && folded(city.name) == key)
            found = &city;
    }
    return found;
}

namespace {

// What one of the two coordinates takes.
struct Axis {
    Field field;
    double limit; // 90 or 180 degrees either way
    char positive, negative;
    char otherPositive, otherNegative;
    std::string_view forms;
};

constexpr Axis kLatitude{Field::Latitude, 90, 'N', 'S', 'E', 'W', "13.0827 N, -33.8688 or 13°04'58\"N"};
constexpr Axis kLongitude{Field::Longitude, 180, 'E', 'W', 'N', 'S', "80.2707 E, -151.2093 or 80°16'15\"E"};

enum class Mark { None, Degrees, Minutes, Seconds };

// The marks after a number, the ASCII ones and the typographic ones.
struct MarkSpelling {
    std::string_view text;
    Mark mark;
};
constexpr MarkSpelling kMarks[] = {
    {"\u00B0", Mark::Degrees}, // °
    {"\u00BA", Mark::Degrees}, // º, which keyboards give for °
    {"''", Mark::Seconds},     {"\"", Mark::Seconds}, {"\u2033", Mark::Seconds},
    {"\u201D", Mark::Seconds}, {"'", Mark::Minutes},  {"\u2032", Mark::Minutes},
    {"\u2019", Mark::Minutes},
};

struct Part {
    double value = 0;
    bool whole = true; // no decimals
    Mark mark = Mark::None;
};

void skipBlanks(std::string_view& text) {
    while (!text.empty() && almanac::isAsciiBlank(text.front()))
        text.remove_prefix(1);
}

// A number: digits, and optionally a point and more digits; none when the text does not begin so.
std::optional<Part> numberAt(std::string_view& text) {
    std::size_t length = 0;
    const auto digits = [&] {
        const std::size_t start = length;
        while (length < text.size() && text[length] >= '0' && text[length] <= '9')
            ++length;
        return length > start;
    };
    if (!digits())
        return std::nullopt;
    Part part;
    if (length < text.size() && text[length] == '.') {
        ++length;
        if (!digits())
            return std::nullopt;
        part.whole = false;
    }
    if (std::from_chars(text.data(), text.data() + length, part.value).ec != std::errc())
        return std::nullopt;
    text.remove_prefix(length);
    return part;
}

Mark markAt(std::string_view& text) {
    for (const MarkSpelling& spelling : kMarks)
        if (text.starts_with(spelling.text)) {
            text.remove_prefix(spelling.text.size());
            return spelling.mark;
        }
    return Mark::None;
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

std::string numberText(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

double parseCoordinate(std::string_view input, const Axis& axis) {
    const std::string_view text = almanac::trimmedAscii(input);
    const auto refuse = [&](const std::string& what) {
        throw InputError(axis.field, what + "; enter it as " + std::string(axis.forms));
    };
    if (text.empty())
        refuse("none given");
    const std::string notUnderstood = quoted(text) + " is not understood";

    std::string_view rest = text;
    char hemisphere = 0;
    if (almanac::isAsciiLetter(rest.back())) {
        hemisphere = static_cast<char>(almanac::asciiLower(rest.back()) - 'a' + 'A');
        rest.remove_suffix(1);
        rest = almanac::trimmedAscii(rest);
        if (hemisphere == axis.otherPositive || hemisphere == axis.otherNegative)
            refuse(quoted(text) + " ends in " + hemisphere + ", which is " +
                   (axis.field == Field::Latitude ? "east or west" : "north or south") + "; this takes " +
                   axis.positive + " or " + axis.negative);
        if (hemisphere != axis.positive && hemisphere != axis.negative)
            refuse(notUnderstood);
    }
    int sign = 0;
    constexpr std::string_view kMinusSign = "\u2212";
    if (rest.starts_with('+')) {
        sign = 1;
        rest.remove_prefix(1);
    } else if (rest.starts_with('-') || rest.starts_with(kMinusSign)) {
        sign = -1;
        rest.remove_prefix(rest.starts_with('-') ? 1 : kMinusSign.size());
    }
    if (sign != 0 && hemisphere != 0)
        refuse(quoted(text) + " has both a sign and " + hemisphere + "; give one of them");

    // Degrees, with or without their mark; then minutes and seconds, each with its mark.
    std::vector<Part> parts;
    while (true) {
        skipBlanks(rest);
        if (rest.empty())
            break;
        std::optional<Part> part = numberAt(rest);
        if (!part)
            refuse(notUnderstood);
        skipBlanks(rest);
        part->mark = markAt(rest);
        parts.push_back(*part);
    }
    const Mark expected[] = {Mark::Degrees, Mark::Minutes, Mark::Seconds};
    const bool decimal = parts.size() == 1 && (parts[0].mark == Mark::None || parts[0].mark == Mark::Degrees);
    if (!decimal) {
        if (parts.empty() || parts.size() > 3)
            refuse(notUnderstood);
        for (std::size_t i = 0; i < parts.size(); ++i)
            if (parts[i].mark != expected[i])
                refuse(notUnderstood);
        for (std::size_t i = 0; i + 1 < parts.size(); ++i)
            if (!parts[i].whole)
                refuse(quoted(text) + " has decimals before its last part; only the last may have them");
        const char* const units[] = {"degrees", "minutes", "seconds"};
        for (std::size_t i = 1; i < parts.size(); ++i)
            if (parts[i].value >= 60)
                refuse(quoted(text) + " has " + numberText(parts[i].value) + " " + units[i] + "; " +
                       units[i] + " run from 0 to 59");
    }
    double degrees = 0;
    double unit = 1;
    for (const Part& part : parts) {
        degrees += part.value / unit;
        unit *= 60;
    }
    if (degrees > axis.limit)
        refuse(quoted(text) + " is beyond " + numberText(axis.limit) + "°; it runs from " +
               numberText(axis.limit) + " " + axis.negative + " to " + numberText(axis.limit) + " " +
               axis.positive);
    return sign < 0 || hemisphere == axis.negative ? -degrees : degrees;
}

double toFourDecimals(double degrees) {
    return std::round(degrees * 1e4) / 1e4;
}

std::string fixedFour(double degrees) {
    char text[40];
    return std::string(text,
                       std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 4).ptr);
}

std::string coordinateText(double degrees, char positive, char negative) {
    const double rounded = toFourDecimals(degrees);
    return fixedFour(std::fabs(rounded)) + ' ' + (rounded < 0 ? negative : positive);
}

} // namespace

double parseLatitude(std::string_view text) {
    return parseCoordinate(text, kLatitude);
}

double parseLongitude(std::string_view text) {
    return parseCoordinate(text, kLongitude);
}

std::string latitudeText(double degrees) {
    return coordinateText(degrees, 'N', 'S');
}

std::string signedDegreesText(double degrees) {
    const double rounded = toFourDecimals(degrees);
    return fixedFour(rounded == 0 ? 0.0 : rounded); // never "-0.0000"
}

std::string longitudeText(double degrees) {
    return coordinateText(degrees, 'E', 'W');
}

} // namespace sky
