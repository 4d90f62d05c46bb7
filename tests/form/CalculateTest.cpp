// "Calculate" on a fake window over a real database: the checks in their order with their messages,
// then both pairs named from the reference tables.
#include "support/FakeWindow.h"

#include <gtest/gtest.h>

#include <functional>

using testing_support::FakeWindow;
using testing_support::Rows;

namespace {

// Sun Aries 0 0 and Moon Taurus 24 30, the same again for AK and AmK.
constexpr Rows kWorked{{{1, 0, 0}, {2, 24, 30}, {1, 0, 0}, {2, 24, 30}}};

class CalculateTest : public testing_support::FormOnDatabase {
protected:
    void calculate() { run(&form::MainForm::cmd_calc_Click); }
};

struct CheckCase {
    const char* what;
    std::function<void(FakeWindow&)> arrange;
    const char* message;
    int focusMoves;
};

TEST_F(CalculateTest, ChecksStopAtTheFirstGapWithItsMessageAndChangeNothing) {
    start();
    const CheckCase cases[] = {
        {"empty name, nothing chosen", [](FakeWindow& w) { w.name.value = "", w.chooseAll({}); },
         "Enter ur name", 1},
        {"Sun degrees on the prompt, AmK sign on the prompt: signs come first",
         [](FakeWindow& w) { w.degrees[0].selected = 0, w.signs[3].selected = 0; }, "Enter the sign of AmK",
         0},
        {"Sun degrees unselected, Moon sign unselected",
         [](FakeWindow& w) { w.degrees[0].selected = -1, w.signs[1].selected = -1; },
         "Enter the sign of Moon", 0},
        {"only the Moon's minutes on the prompt", [](FakeWindow& w) { w.minutes[1].selected = 0; },
         "Enter the minutes of Moon", 0},
        {"AK degrees missing", [](FakeWindow& w) { w.degrees[2].selected = -1; }, "Enter the degrees of AK",
         0},
        {"the caption as it reads when the message is made",
         [](FakeWindow& w) { w.planets[2].text = "Atmakaraka", w.signs[2].selected = 0; },
         "Enter the sign of Atmakaraka", 0},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        window.messages.clear();
        window.name = {};
        window.name.value = "Asha";
        window.planets[2].text = "AK";
        window.chooseAll(kWorked);
        window.tithi[1].text = "before";
        c.arrange(window);
        const Rows chosen = window.shownRows();
        calculate();
        EXPECT_EQ(window.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(window.name.focusCount, c.focusMoves);
        EXPECT_EQ(window.tithi[1].text, "before");
        EXPECT_EQ(window.shownRows(), chosen);
    }
}

struct ResultCase {
    const char* what;
    const char* name;
    Rows rows;
    std::vector<std::string> captions; // outer tithi, nakshatra, yoga, karana, then inner
};

TEST_F(CalculateTest, NamesBothPairsFromTheReferenceTables) {
    start();
    const ResultCase cases[] = {
        {"Sun Aries 0 0, Moon Taurus 24 30, the same inside; a name of blanks is a name",
         "   ",
         kWorked,
         {"Shukla Panchami - 1S 24deg 30mins(24deg 30mins in Vrishabha)", "Mrigashira",
          "Shobhana (Sun) Deity - Brihaspati", "Balava",
          "Shukla Panchami - 1S 24deg 30mins(24deg 30mins in Vrishabha)", "Mrigashira",
          "Shobhana (Sun) Deity - Brihaspati", "Balava"}},
        {"equal longitudes outside, AmK one minute behind AK inside",
         "Asha",
         {{{6, 15, 20}, {6, 15, 20}, {12, 29, 59}, {12, 29, 58}}},
         {"Shukla Pratipada - 0S 0deg 0mins(0deg 0mins in Mesha)", "Hasta",
          "Brahma (Mars) Deity - Ashvini Kumaras", "Kimstughna",
          "Amavasya - 11S 29deg 59mins(29deg 59mins in Mina)", "Revati", "Vaidhriti (Jupiter) Deity - Diti",
          "Naga"}},
    };
    for (const ResultCase& c : cases) {
        SCOPED_TRACE(c.what);
        window.name.value = c.name;
        window.chooseAll(c.rows);
        calculate();
        EXPECT_TRUE(window.messages.empty());
        EXPECT_EQ(window.results(), c.captions);
        calculate(); // pressed again with nothing changed
        EXPECT_EQ(window.results(), c.captions);
    }
}

TEST_F(CalculateTest, AShortReferenceTableEndsTheProgramWithTheCaptionsSetSoFar) {
    start("delete from yoga where id > 3");
    window.name.value = "Asha";
    window.chooseAll(kWorked);
    window.karana[0].text = "old karana";
    calculate();
    EXPECT_EQ(window.tithi[0].text, "Shukla Panchami - 1S 24deg 30mins(24deg 30mins in Vrishabha)");
    EXPECT_EQ(window.karana[0].text, "old karana") << "nothing runs after the failure";
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_EQ(shell.errors[0].first, 3014);
    EXPECT_EQ(shell.errors[0].second, "The table yoga has fewer rows than the almanac needs.");
    EXPECT_EQ(shell.endings, std::vector<int>{1});
}

} // namespace
