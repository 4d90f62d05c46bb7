// The result captions: how the names of a pair's results are written into the result lines.
#pragma once

#include "almanac/Pair.h"

#include <string>
#include <string_view>

namespace almanac {

// One row of the yoga table.
struct YogaNames {
    std::string name;
    std::string lord;
    std::string deity;
};

// "<tithi> - 1S 24deg 30mins(24deg 30mins in <rashi>)": the elongation in signs, degrees and minutes,
// then the degrees and minutes within the sign it falls in.
std::string tithiCaption(std::string_view tithi, const PairResult& pair, std::string_view rashi);

// The same written out for a reader: "<tithi>: 1 sign 24°30′ of elongation, 24°30′ into <rashi>".
std::string writtenTithi(std::string_view tithi, const PairResult& pair, std::string_view rashi);

// "<name> (<lord>) Deity - <deity>".
std::string yogaCaption(const YogaNames& yoga);

} // namespace almanac
