// Naming the results of a pair and writing them into the result lines of the window.
#pragma once

#include "almanac/Controls.h"
#include "almanac/Pair.h"

#include <string>
#include <string_view>

namespace almanac {

struct YogaNames {
    std::string name;
    std::string lord;
    std::string deity;
};

// The reference tables, read by 0-based row position. Names come back exactly as stored.
class ReferenceTables {
public:
    virtual ~ReferenceTables() = default;

    virtual std::string tithiName(int row) = 0;
    virtual std::string rashiName(int row) = 0;
    virtual std::string nakshatraName(int row) = 0;
    virtual YogaNames yoga(int row) = 0;
    virtual std::string karanaName(int row) = 0;
};

// "<tithi> - 1S 24deg 30mins(24deg 30mins in <rashi>)": the elongation in signs, degrees and minutes,
// then the degrees and minutes within the sign it falls in.
std::string tithiCaption(std::string_view tithi, const PairResult& pair, std::string_view rashi);

// "<name> (<lord>) Deity - <deity>".
std::string yogaCaption(const YogaNames& yoga);

// Looks up the names of one pair and sets the four result captions at `index` (0 external,
// 1 internal), in the order tithi, nakshatra, yoga, karana. A failed lookup leaves the captions that
// were already set.
void showPair(Form& form, ReferenceTables& tables, int index, const PairResult& pair);

} // namespace almanac
