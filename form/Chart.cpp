#include "form/Chart.h"

#include "almanac/Names.h"
#include "form/ChartLayout.h"

#include <cstdio>

namespace form {

namespace {

constexpr std::array<std::string_view, kChartStyles.size()> kKeys{"south", "north", "wheel"};
constexpr std::array<std::string_view, kChartStyles.size()> kLabels{"South Indian", "North Indian", "Wheel"};

} // namespace

std::string_view chartStyleKey(ChartStyle style) {
    return kKeys[static_cast<std::size_t>(style)];
}

std::optional<ChartStyle> parseChartStyle(std::string_view key) {
    for (const ChartStyle style : kChartStyles)
        if (chartStyleKey(style) == key)
            return style;
    return std::nullopt;
}

std::string_view chartStyleLabel(ChartStyle style) {
    return kLabels[static_cast<std::size_t>(style)];
}

namespace {

std::string signName(int sign) {
    return std::string(almanac::kSignNames[static_cast<std::size_t>(sign)]);
}

// "27°05'": the degrees and minutes within the sign, as a screen reader reads them best.
std::string degrees(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d°%02d'", seconds / 3600 % 30, seconds / 60 % 60);
    return text;
}

// "Moon 27°05', Atmakaraka".
std::string pointInWords(const ChartPoint& point) {
    std::string text = point.name + " " + degrees(point.seconds);
    if (point.ak)
        text += ", Atmakaraka";
    if (point.amk)
        text += ", Amatyakaraka";
    return text;
}

// "Asha, born 1990-05-17 09:00 Asia/Kolkata, at Chennai. "
std::string whose(const ChartPicture& picture) {
    std::string text = picture.name;
    if (!picture.moment.empty())
        text += (text.empty() ? "Born " : ", born ") + picture.moment;
    if (!picture.place.empty())
        text += (text.empty() ? "At " : ", at ") + picture.place;
    return text.empty() ? text : text + ". ";
}

std::string notes(const ChartPicture& picture) {
    std::string text;
    for (const std::string& note : picture.pairNotes)
        if (!note.empty())
            text += " " + note + ".";
    return text;
}

// The points in one sign, in words, joined by semicolons.
std::string occupants(const std::vector<ChartPoint>& points, int sign) {
    std::string text;
    for (const ChartPoint& point : points)
        if (signOf(point.seconds) == sign)
            text += (text.empty() ? "" : "; ") + pointInWords(point);
    return text;
}

std::string southIndian(const ChartPicture& picture, const std::vector<ChartPoint>& points) {
    std::string text = "South Indian chart, the signs in fixed cells: Pisces at the top left, then "
                       "clockwise round the edge, Aries to Gemini along the top. ";
    if (picture.lagnaSign)
        text += "Lagna in " + signName(*picture.lagnaSign) + ", its cell marked. ";
    bool anyEmpty = false;
    for (int sign = 0; sign < kSigns; ++sign) {
        const std::string here = occupants(points, sign);
        if (here.empty()) {
            anyEmpty = true;
            continue;
        }
        text += signName(sign);
        if (picture.lagnaSign)
            text += ", house " + std::to_string(houseOfSign(sign, *picture.lagnaSign));
        text += ": " + here + ". ";
    }
    if (anyEmpty)
        text += "The other signs are empty.";
    return text;
}

std::string northIndian(const ChartPicture& picture, const std::vector<ChartPoint>& points) {
    if (!picture.lagnaSign)
        return std::string(kNorthNeedsPlaceMessage);
    const int lagna = *picture.lagnaSign;
    std::string text = "North Indian chart, the houses counter-clockwise from the top, the first holding the "
                       "lagna's sign, " +
                       signName(lagna) + ". ";
    bool anyEmpty = false;
    for (int house = 1; house <= kSigns; ++house) {
        const int sign = signOfHouse(house, lagna);
        const std::string here = occupants(points, sign);
        if (here.empty()) {
            anyEmpty = true;
            continue;
        }
        text += "House " + std::to_string(house) + ", " + signName(sign) + ": " + here + ". ";
    }
    if (anyEmpty)
        text += "The other houses are empty.";
    return text;
}

std::string wheel(const ChartPicture& picture, const std::vector<ChartPoint>& points) {
    std::string text = "The sidereal zodiac from 0° Aries, counter-clockwise, ringed by the 27 nakshatras. ";
    for (std::size_t n = 0; n < points.size(); ++n) {
        const ChartPoint& point = points[n];
        text += point.name + " at " + signName(signOf(point.seconds)) + " " + degrees(point.seconds) +
                " in " + std::string(nakshatraName(nakshatraOf(point.seconds)));
        if (point.ak)
            text += ", Atmakaraka";
        if (point.amk)
            text += ", Amatyakaraka";
        text += n + 1 < points.size() ? "; " : ". ";
    }
    return text + wheelArcsDescription(picture.wheel);
}

} // namespace

std::string chartDescription(const ChartPicture& picture, ChartStyle style) {
    const std::vector<ChartPoint> points = chartPoints(picture);
    std::string text = whose(picture);
    switch (style) {
    case ChartStyle::SouthIndian:
        text += southIndian(picture, points);
        break;
    case ChartStyle::NorthIndian:
        text += northIndian(picture, points);
        break;
    case ChartStyle::Wheel:
        text += wheel(picture, points);
        break;
    }
    if (style != ChartStyle::Wheel && (style != ChartStyle::NorthIndian || picture.lagnaSign))
        text += notes(picture);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace form
