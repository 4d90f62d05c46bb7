#include "form/Checks.h"

#include "almanac/Pair.h"
#include "form/Messages.h"

#include <charconv>
#include <stdexcept>

namespace form {

namespace {

// Entry 0 of every selector is its prompt ("Select Sign" or "----") and counts as no choice.
bool isChosen(const Selector& selector) {
    return selector.listIndex() > 0;
}

struct RowPass {
    Selector& (Window::*selector)(int);
    std::string_view message;
};

constexpr RowPass kPasses[] = {
    {&Window::lstsign, kMissingSignMessage},
    {&Window::lstdeg, kMissingDegreesMessage},
    {&Window::lstmin, kMissingMinutesMessage},
};

// The whole number written in a degree or minute entry, checked against its range.
int entryNumber(const Selector& selector, int limit) {
    const std::string text = selector.text();
    int value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < 0 || value >= limit)
        throw std::logic_error("The entry \"" + text + "\" is not a number from 0 to " +
                               std::to_string(limit - 1));
    return value;
}

} // namespace

bool checkName(Window& window, std::string_view message) {
    if (!window.txtname().text().empty())
        return true;
    window.showMessage(message);
    window.txtname().setFocus();
    return false;
}

std::optional<std::string> missingEntryMessage(Window& window) {
    for (const RowPass& pass : kPasses)
        for (int row = 0; row < kBodyRows; ++row)
            if (!isChosen((window.*pass.selector)(row)))
                return std::string(pass.message) + window.lblplanet(row).caption();
    return std::nullopt;
}

bool checkBodyRows(Window& window) {
    const auto missing = missingEntryMessage(window);
    if (missing)
        window.showMessage(*missing);
    return !missing;
}

int rowLongitude(Window& window, int row) {
    const int sign = window.lstsign(row).listIndex() - 1;
    if (sign < 0 || sign >= almanac::kSignsPerCircle)
        throw std::logic_error("The sign selector holds no sign");
    const int degrees = entryNumber(window.lstdeg(row), almanac::kDegreesPerSign);
    const int minutes = entryNumber(window.lstmin(row), almanac::kMinutesPerDegree);
    return almanac::longitudeMinutes(sign, degrees, minutes);
}

} // namespace form
