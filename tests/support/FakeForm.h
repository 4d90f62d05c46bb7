// An in-memory stand-in for the main window: the same controls, list entries and captions, with every
// message recorded instead of shown.
#pragma once

#include "almanac/Controls.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

class FakeListBox final : public almanac::ListBox {
public:
    std::vector<std::string> entries;
    int selected = -1;
    bool visible = true;
    std::function<void()> onSelect; // the list's selection event

    int listIndex() const override { return selected; }
    void setListIndex(int index) override;
    std::string text() const override {
        return selected < 0 ? std::string() : entries.at(std::size_t(selected));
    }
    void setText(std::string_view text) override;
    int listCount() const override { return static_cast<int>(entries.size()); }
    void addItem(std::string_view text) override { entries.emplace_back(text); }
    void clear() override;
    bool isVisible() const override { return visible; }
    void setVisible(bool v) override { visible = v; }
};

class FakeLabel final : public almanac::Label {
public:
    std::string text;
    bool visible = true;
    std::string caption() const override { return text; }
    void setCaption(std::string_view c) override { text = c; }
    bool isVisible() const override { return visible; }
    void setVisible(bool v) override { visible = v; }
};

class FakeTextBox final : public almanac::TextBox {
public:
    std::string value;
    bool enabled = true;
    int focusCount = 0;
    std::string text() const override { return value; }
    void setText(std::string_view t) override { value = t; }
    void setEnabled(bool e) override { enabled = e; }
    void setFocus() override { ++focusCount; }
};

class FakeForm final : public almanac::Form {
public:
    FakeForm();

    FakeTextBox name;
    FakeListBox names;
    std::array<FakeListBox, 4> signs, degrees, minutes;
    std::array<FakeLabel, 5> planets;
    std::array<FakeLabel, 8> captions;
    std::array<FakeLabel, 2> tithi, nakshatra, yoga, karana;
    FakeLabel clickToOpen;
    std::vector<std::string> messages;
    std::function<void(const std::string&)> whileMessageOpen;

    // Picks sign (1..12, or 0 for the prompt), degree and minute (numbers, or -1 for the prompt) of a row.
    void choose(int row, int sign, int degree, int minute);
    // All four rows at once, as {sign, degree, minute}.
    void chooseAll(const std::array<std::array<int, 3>, 4>& rows);
    // Every result caption, external then internal: tithi, nakshatra, yoga, karana.
    std::vector<std::string> results() const;

    almanac::TextBox& txtname() override { return name; }
    almanac::ListBox& lstname() override { return names; }
    almanac::ListBox& lstsign(int row) override { return signs.at(std::size_t(row)); }
    almanac::ListBox& lstdeg(int row) override { return degrees.at(std::size_t(row)); }
    almanac::ListBox& lstmin(int row) override { return minutes.at(std::size_t(row)); }
    almanac::Label& lblplanet(int index) override { return planets.at(std::size_t(index)); }
    almanac::Label& lbl(int index) override { return captions.at(std::size_t(index)); }
    almanac::Label& lbltithi(int index) override { return tithi.at(std::size_t(index)); }
    almanac::Label& lblnak(int index) override { return nakshatra.at(std::size_t(index)); }
    almanac::Label& lblyoga(int index) override { return yoga.at(std::size_t(index)); }
    almanac::Label& lblkarana(int index) override { return karana.at(std::size_t(index)); }
    almanac::Label& lblnm(int index) override;
    void showMessage(std::string_view text) override;
};

} // namespace testing_support
