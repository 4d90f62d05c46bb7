#include "form/Chart.h"

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

std::string chartDescription(const ChartPicture& picture, ChartStyle) {
    return wheelDescription(picture.wheel);
}

} // namespace form
