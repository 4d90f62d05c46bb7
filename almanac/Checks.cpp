#include "almanac/Checks.h"

#include "almanac/Pair.h"

#include <charconv>
#include <stdexcept>
#include <string>

namespace almanac {

namespace {

// Entry 0 of every selector is its prompt ("Select Sign" or "----") and counts as no choice.
bool isChosen(const ListBox& selector) {
    return selector.listIndex() > 0;
}

struct RowPass {
    ListBox& (Form::*selector)(int);
    std::string_view message;
};

constexpr RowPass kPasses[] = {
    {&Form::lstsign, "Enter the sign of "},
    {&Form::lstdeg, "Enter the degrees of "},
    {&Form::lstmin, "Enter the minutes of "},
};

// The whole number written in a degree or minute entry, checked against its range.
int entryNumber(const ListBox& selector, int limit) {
    const std::string text = selector.text();
    int value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < 0 || value >= limit)
        throw std::logic_error("The entry \"" + text + "\" is not a number from 0 to " +
                               std::to_string(limit - 1));
    return value;
}

} // namespace

bool checkName(Form& form, std::string_view message) {
    if (!form.txtname().text().empty())
        return true;
    form.showMessage(message);
    form.txtname().setFocus();
    return false;
}

std::optional<std::string> missingEntryMessage(Form& form) {
    for (const RowPass& pass : kPasses)
        for (int row = 0; row < kBodyRows; ++row)
            if (!isChosen((form.*pass.selector)(row)))
                return std::string(pass.message) + form.lblplanet(row).caption();
    return std::nullopt;
}

bool checkBodyRows(Form& form) {
    const auto missing = missingEntryMessage(form);
    if (missing)
        form.showMessage(*missing);
    return !missing;
}

int rowLongitude(Form& form, int row) {
    const int sign = form.lstsign(row).listIndex() - 1;
    if (sign < 0 || sign >= kSignsPerCircle)
        throw std::logic_error("The sign selector holds no sign");
    const int degrees = entryNumber(form.lstdeg(row), kDegreesPerSign);
    const int minutes = entryNumber(form.lstmin(row), kMinutesPerDegree);
    return longitudeMinutes(sign, degrees, minutes);
}

} // namespace almanac
