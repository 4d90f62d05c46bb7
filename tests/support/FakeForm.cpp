#include "support/FakeForm.h"

#include "almanac/Entries.h"

#include <stdexcept>

namespace testing_support {

void FakeListBox::setListIndex(int index) {
    const int before = selected;
    selected = index >= 0 && index < listCount() ? index : -1;
    if (selected >= 0 && selected != before && onSelect)
        onSelect();
}

void FakeListBox::setText(std::string_view text) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text)
            return setListIndex(static_cast<int>(i));
    setListIndex(-1);
}

void FakeListBox::clear() {
    entries.clear();
    selected = -1;
}

FakeForm::FakeForm() {
    const auto degreeEntries = almanac::numberEntries(30);
    const auto minuteEntries = almanac::numberEntries(60);
    for (std::size_t row = 0; row < 4; ++row) {
        signs[row].entries.assign(almanac::kSignEntries.begin(), almanac::kSignEntries.end());
        degrees[row].entries = degreeEntries;
        minutes[row].entries = minuteEntries;
        planets[row].text = almanac::kBodyCaptions[row];
    }
    planets[4].text = "Enter Name";
}

void FakeForm::choose(int row, int sign, int degree, int minute) {
    signs.at(std::size_t(row)).selected = sign;
    degrees.at(std::size_t(row)).selected = degree + 1;
    minutes.at(std::size_t(row)).selected = minute + 1;
}

void FakeForm::chooseAll(const std::array<std::array<int, 3>, 4>& rows) {
    for (int row = 0; row < 4; ++row)
        choose(row, rows[std::size_t(row)][0], rows[std::size_t(row)][1], rows[std::size_t(row)][2]);
}

std::vector<std::string> FakeForm::results() const {
    std::vector<std::string> all;
    for (std::size_t n = 0; n < 2; ++n)
        for (const auto* label : {&tithi[n], &nakshatra[n], &yoga[n], &karana[n]})
            all.push_back(label->text);
    return all;
}

almanac::Label& FakeForm::lblnm(int index) {
    if (index != 4)
        throw std::out_of_range("lblnm has only the index 4");
    return clickToOpen;
}

void FakeForm::showMessage(std::string_view text) {
    messages.emplace_back(text);
    if (whileMessageOpen)
        whileMessageOpen(messages.back());
}

} // namespace testing_support
