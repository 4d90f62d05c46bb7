// "Calculate" on an in-memory window: the order of the checks and their messages, then the named
// results of both pairs.
#include "almanac/Calculation.h"

#include "support/FakeForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using testing_support::FakeForm;

namespace {

// Reference names that say which row they came from.
class NumberedTables final : public almanac::ReferenceTables {
public:
    std::function<void(const char*)> onLookup;

    std::string tithiName(int row) override { return look("tithi", row); }
    std::string rashiName(int row) override { return look("rashi", row); }
    std::string nakshatraName(int row) override { return look("nakshatra", row); }
    almanac::YogaNames yoga(int row) override {
        return {look("yoga", row), "lord " + std::to_string(row), "deity " + std::to_string(row)};
    }
    std::string karanaName(int row) override { return look("karana", row); }

private:
    std::string look(const char* table, int row) {
        if (onLookup)
            onLookup(table);
        return std::string(table) + " " + std::to_string(row);
    }
};

// Sun Aries 0 0 and Moon Taurus 24 30, the same again for AK and AmK.
constexpr std::array<std::array<int, 3>, 4> kWorked{{{1, 0, 0}, {2, 24, 30}, {1, 0, 0}, {2, 24, 30}}};

struct CheckCase {
    const char* what;
    std::function<void(FakeForm&)> arrange;
    const char* message;
    int focusMoves;
};

const CheckCase kChecks[] = {
    {"empty name, nothing chosen", [](FakeForm& f) { f.name.value = ""; }, "Enter ur name", 1},
    {"nothing chosen", [](FakeForm& f) { f.chooseAll({}), f.signs[0].selected = -1; },
     "Enter the sign of Sun", 0},
    {"Sun degrees on the prompt, AmK sign on the prompt: signs come first",
     [](FakeForm& f) { f.degrees[0].selected = 0, f.signs[3].selected = 0; }, "Enter the sign of AmK", 0},
    {"Sun degrees unselected, Moon sign unselected",
     [](FakeForm& f) { f.degrees[0].selected = -1, f.signs[1].selected = -1; }, "Enter the sign of Moon", 0},
    {"only the Moon's minutes on the prompt", [](FakeForm& f) { f.minutes[1].selected = 0; },
     "Enter the minutes of Moon", 0},
    {"AK degrees missing", [](FakeForm& f) { f.degrees[2].selected = -1; }, "Enter the degrees of AK", 0},
    {"the caption as it reads when the message is made",
     [](FakeForm& f) { f.planets[2].text = "Atmakaraka", f.signs[2].selected = 0; },
     "Enter the sign of Atmakaraka", 0},
};

TEST(CalculateChecks, StopAtTheFirstGapWithItsMessageAndChangeNothing) {
    for (const CheckCase& c : kChecks) {
        SCOPED_TRACE(c.what);
        FakeForm form;
        NumberedTables tables;
        form.name.value = "Asha";
        form.chooseAll(kWorked);
        form.tithi[1].text = "before";
        c.arrange(form);
        const FakeForm before = form;
        tables.onLookup = [](const char* table) {
            FAIL() << "looked up " << table << " after a failed check";
        };

        almanac::calculate(form, tables);

        EXPECT_EQ(form.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(form.name.focusCount, c.focusMoves);
        EXPECT_EQ(form.results(), before.results());
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(form.signs[std::size_t(row)].selected, before.signs[std::size_t(row)].selected);
            EXPECT_EQ(form.degrees[std::size_t(row)].selected, before.degrees[std::size_t(row)].selected);
        }
    }
}

TEST(CalculateChecks, ANameOfBlanksIsAName) {
    FakeForm form;
    NumberedTables tables;
    form.name.value = "   ";
    form.chooseAll(kWorked);
    almanac::calculate(form, tables);
    EXPECT_TRUE(form.messages.empty());
    EXPECT_FALSE(form.tithi[0].text.empty());
}

struct ResultCase {
    const char* what;
    std::array<std::array<int, 3>, 4> rows;
    std::vector<std::string> captions; // external tithi, nakshatra, yoga, karana, then internal
};

const ResultCase kResults[] = {
    {"Sun Aries 0 0, Moon Taurus 24 30, and the same inside",
     kWorked,
     {"tithi 4 - 1S 24deg 30mins(24deg 30mins in rashi 1)", "nakshatra 4", "yoga 4 (lord 4) Deity - deity 4",
      "karana 9", "tithi 4 - 1S 24deg 30mins(24deg 30mins in rashi 1)", "nakshatra 4",
      "yoga 4 (lord 4) Deity - deity 4", "karana 9"}},
    {"equal longitudes outside, AK ahead of AmK inside",
     {{{6, 15, 20}, {6, 15, 20}, {2, 24, 30}, {1, 0, 0}}},
     {"tithi 0 - 0S 0deg 0mins(0deg 0mins in rashi 0)", "nakshatra 12", "yoga 24 (lord 24) Deity - deity 24",
      "karana 0", "tithi 25 - 10S 5deg 30mins(5deg 30mins in rashi 10)", "nakshatra 0",
      "yoga 4 (lord 4) Deity - deity 4", "karana 50"}},
    {"Moon one minute behind the Sun",
     {{{1, 0, 1}, {1, 0, 0}, {12, 29, 59}, {12, 29, 59}}},
     {"tithi 29 - 11S 29deg 59mins(29deg 59mins in rashi 11)", "nakshatra 0",
      "yoga 0 (lord 0) Deity - deity 0", "karana 59", "tithi 0 - 0S 0deg 0mins(0deg 0mins in rashi 0)",
      "nakshatra 26", "yoga 26 (lord 26) Deity - deity 26", "karana 0"}},
};

TEST(CalculateResults, NameBothPairsInTheirCaptions) {
    for (const ResultCase& c : kResults) {
        SCOPED_TRACE(c.what);
        FakeForm form;
        NumberedTables tables;
        form.name.value = "Asha";
        form.chooseAll(c.rows);
        almanac::calculate(form, tables);
        EXPECT_TRUE(form.messages.empty());
        EXPECT_EQ(form.results(), c.captions);
        // Pressed again with nothing changed, the captions are the same.
        almanac::calculate(form, tables);
        EXPECT_EQ(form.results(), c.captions);
    }
}

TEST(CalculateResults, AFailedLookupKeepsTheCaptionsAlreadySet) {
    FakeForm form;
    NumberedTables tables;
    form.name.value = "Asha";
    form.chooseAll(kWorked);
    form.yoga[0].text = "old yoga";
    form.karana[0].text = "old karana";
    tables.onLookup = [](const char* table) {
        if (std::string_view(table) == "yoga")
            throw std::runtime_error("short table");
    };
    EXPECT_THROW(almanac::calculate(form, tables), std::runtime_error);
    EXPECT_EQ(form.tithi[0].text, "tithi 4 - 1S 24deg 30mins(24deg 30mins in rashi 1)");
    EXPECT_EQ(form.nakshatra[0].text, "nakshatra 4");
    EXPECT_EQ(form.yoga[0].text, "old yoga");
    EXPECT_EQ(form.karana[0].text, "old karana");
}

TEST(CalculateResults, YogaCaptionSpacing) {
    EXPECT_EQ(almanac::yogaCaption({"A", "B", "C"}), "A (B) Deity - C");
    EXPECT_EQ(almanac::yogaCaption({" a ", "", "c"}), " a  () Deity - c")
        << "names are shown exactly as stored";
}

} // namespace
