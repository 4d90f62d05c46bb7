#include "almanac/Captions.h"

#include <cstdio>

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

std::string writtenTithi(std::string_view tithi, const PairResult& pair, std::string_view rashi) {
    char inSign[32];
    std::snprintf(inSign, sizeof inSign, "%d°%02d′", pair.degreesInSign, pair.elongationMinutes);
    return std::string(tithi) + ": " + std::to_string(pair.elongationSign) +
           (pair.elongationSign == 1 ? " sign " : " signs ") + inSign + " of elongation, " + inSign +
           " into " + std::string(rashi);
}

std::string yogaCaption(const YogaNames& yoga) {
    return yoga.name + " (" + yoga.lord + ")" + " Deity - " + yoga.deity;
}

} // namespace almanac
