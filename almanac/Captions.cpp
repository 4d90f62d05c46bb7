#include "almanac/Captions.h"

namespace almanac {

std::string tithiCaption(std::string_view tithi, const PairResult& pair, std::string_view rashi) {
    const std::string degrees = std::to_string(pair.degreesInSign) + "deg ";
    const std::string minutes = std::to_string(pair.elongationMinutes);
    std::string caption(tithi);
    caption += " - " + std::to_string(pair.elongationSign) + "S " + degrees + minutes + "mins";
    caption += "(" + degrees + minutes + "mins in ";
    caption += rashi;
    caption += ")";
    return caption;
}

std::string yogaCaption(const YogaNames& yoga) {
    return yoga.name + " (" + yoga.lord + ")" + " Deity - " + yoga.deity;
}

} // namespace almanac
