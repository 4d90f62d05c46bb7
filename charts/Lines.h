// The results and the birth data written out, the same for the window, its printed page and the
// command line: a pair's tithi, nakshatra, yoga and karana by the names of the reference tables, the
// birth moment and its choices, a position in its sign.
#pragma once

#include "almanac/Captions.h"
#include "almanac/Pair.h"
#include "store/BirthData.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {
class ChartStore;
}

namespace charts {

// The names of a pair's results by their rows in the reference tables.
class ResultNames {
public:
    virtual ~ResultNames() = default;
    virtual std::string tithi(int row) = 0;
    virtual std::string rashi(int row) = 0;
    virtual std::string nakshatra(int row) = 0;
    virtual almanac::YogaNames yoga(int row) = 0;
    virtual std::string karana(int row) = 0;
};

// Every name the results take, read once from a store's reference tables. read() throws UnknownField
// for a column a table lacks and ShortTable for a table with fewer rows than the almanac needs.
struct NameTables final : ResultNames {
    static NameTables read(const store::ChartStore& chartStore);

    std::string tithi(int row) override { return tithis[static_cast<std::size_t>(row)]; }
    std::string rashi(int row) override { return rashis[static_cast<std::size_t>(row)]; }
    std::string nakshatra(int row) override { return nakshatras[static_cast<std::size_t>(row)]; }
    almanac::YogaNames yoga(int row) override { return yogas[static_cast<std::size_t>(row)]; }
    std::string karana(int row) override { return karanas[static_cast<std::size_t>(row)]; }

    std::vector<std::string> tithis;
    std::vector<std::string> rashis;
    std::vector<std::string> nakshatras;
    std::vector<almanac::YogaNames> yogas;
    std::vector<std::string> karanas;
};

enum class Result { Tithi, Nakshatra, Yoga, Karana };

// One result of a pair: as its result line shows it ("Shukla Panchami - 1S 24deg 30mins(...)"), and
// written out in words for the printed page ("Shukla Panchami: 1 sign 24°30′ of elongation, ...").
struct ResultText {
    Result result;
    std::string shown;
    std::string written;
};

// The pair's four results, tithi, nakshatra, yoga and karana in that order, each handed to `each` as
// soon as its names are read: a name that cannot be read stops the rest.
void pairResults(const almanac::PairResult& pair, ResultNames& names,
                 const std::function<void(const ResultText&)>& each);

// "Born 1990-05-17 14:30 Asia/Kolkata": the moment as given.
std::string bornText(const store::BirthData& birth);
// "Raman ayanamsa, 7 karakas, true node": the ayanamsa by its label, or by its stored key where this
// program knows no such ayanamsa.
std::string choicesText(const store::BirthData& birth);

// "Taurus 24°30'": a longitude in minutes, its sign as the selectors spell it.
std::string signPosition(int minutes);
// A sign by its English name, letter case ignored: the selectors' spelling or the usual one
// ("Capricon", "Capricorn"). 1 Aries .. 12 Pisces.
std::optional<int> signOfName(std::string_view name);

} // namespace charts
